// halvix-decode --adev: phase points from a stream of timing reports, placed
// at the stream's seconds, and the deviations written from them.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/reports/payload_writer.h"
#include "tools/decode_stability.h"

using halvix::testing::Framed;
using halvix::testing::PayloadWriter;
using namespace halvix::tools;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& stream, const Bytes& frame) { stream.insert(stream.end(), frame.begin(), frame.end()); }

Bytes PrimaryTiming(std::uint32_t tow) {
  return Framed(0x8F, PayloadWriter(17).byte(0, 0xAB).longWord(1, tow).word(5, 2300).word(7, 18));
}

Bytes SupplementalTiming(float ppsNs, float quantizationNs) {
  return Framed(0x8F, PayloadWriter(68).byte(0, 0xAC).single(16, ppsNs).single(60, quantizationNs));
}

struct Collected {
  std::vector<double> raw, corrected;
  int runs = 0;
  std::string csv;
};

Collected Collect(const Bytes& stream) {
  StabilityCollector c;
  c.feed(stream.data(), stream.size());
  c.finish();
  LineOutput out;
  c.write(DecodeFormat::Csv, out);
  return {c.phase(false), c.phase(true), c.runs(), std::string(out.text())};
}

}  // namespace

TEST(DecodeStability, QuantizationCorrectionLeavesTheDrift) {
  // Phase of a linear frequency drift D (ns/s^2) plus a sawtooth the receiver
  // reports as its quantization error: less the error, ADEV(tau) = D tau / sqrt 2.
  constexpr double kDrift = 1.0;
  Bytes stream;
  for (int t = 0; t < 100; ++t) {
    const auto saw = static_cast<float>((t * 7) % 10 - 5);
    Append(stream, PrimaryTiming(345600 + static_cast<std::uint32_t>(t)));
    Append(stream, SupplementalTiming(static_cast<float>(0.5 * kDrift * t * t) + saw, saw));
  }
  const Collected c = Collect(stream);
  ASSERT_EQ(c.raw.size(), 100u);
  std::istringstream lines(c.csv);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line.rfind("tau_s,adev,adev_corrected,", 0), 0u);
  int rows = 0;
  while (std::getline(lines, line)) {
    double tau = 0, adev = 0, corrected = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf", &tau, &adev, &corrected), 3) << line;
    SCOPED_TRACE(line);
    EXPECT_NEAR(corrected, kDrift * 1e-9 * tau / std::sqrt(2.0), 0.02 * kDrift * 1e-9 * tau);
    if (tau == 1) {
      EXPECT_GT(adev, 2 * corrected);
    }
    ++rows;
  }
  EXPECT_EQ(rows, 5);  // tau 1, 2, 5, 10 and 20: up to a quarter of 100 points
}

TEST(DecodeStability, SecondsComeFromTheStreamAndLongGapsEndARun) {
  Bytes stream;
  std::uint32_t tow = 1000;
  const auto second = [&](float pps) {
    Append(stream, PrimaryTiming(tow));
    Append(stream, PrimaryTiming(tow));  // an answer to a poll repeats the second
    Append(stream, SupplementalTiming(pps, 0));
    ++tow;
  };
  for (int i = 0; i < 20; ++i) second(10);
  tow += 3;  // three seconds missing: bridged
  second(50);
  EXPECT_EQ(Collect(stream).raw.size(), 24u);
  const std::vector<double> bridged = Collect(stream).raw;
  EXPECT_NEAR(bridged[20] * 1e9, 20, 1e-6);  // a quarter of the way from 10 to 50 ns
  EXPECT_NEAR(bridged[22] * 1e9, 40, 1e-6);

  tow += 60;  // a long gap starts a new run; the longer one is analysed
  for (int i = 0; i < 5; ++i) second(0);
  const Collected c = Collect(stream);
  EXPECT_EQ(c.runs, 2);
  EXPECT_EQ(c.raw.size(), 24u);
}

TEST(DecodeStability, WithoutTimeReportsEachSupplementalReportIsASecond) {
  Bytes stream;
  for (int i = 0; i < 12; ++i) Append(stream, SupplementalTiming(static_cast<float>(i), 0.5F));
  const Collected c = Collect(stream);
  ASSERT_EQ(c.raw.size(), 12u);
  EXPECT_NEAR(c.corrected[3] * 1e9, 2.5, 1e-6);
}
