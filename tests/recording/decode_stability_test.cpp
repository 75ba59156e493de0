// halvix-decode --adev: phase points from a stream of timing reports, placed
// at the stream's seconds, and the deviations written from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/reports/payload_writer.h"
#include "analysis/stability_table.h"
#include "recording/decode_stability.h"

using namespace halvix::testing;
using namespace halvix::recording;

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

TEST(DecodeStability, SecondsComeFromTheStreamAndGapsStayGaps) {
  Bytes stream;
  std::uint32_t tow = 1000;
  const auto second = [&](float pps) {
    Append(stream, PrimaryTiming(tow));
    Append(stream, PrimaryTiming(tow));  // an answer to a poll repeats the second
    Append(stream, SupplementalTiming(pps, 0));
    ++tow;
  };
  for (int i = 0; i < 20; ++i) second(10);
  tow += 3;  // three seconds missing: a gap, not made up
  second(50);
  const std::vector<double> gapped = Collect(stream).raw;
  ASSERT_EQ(gapped.size(), 24u);
  for (std::size_t i = 20; i < 23; ++i) EXPECT_TRUE(std::isnan(gapped[i])) << i;
  EXPECT_NEAR(gapped[23] * 1e9, 50, 1e-6) << "not moved up to close the gap";

  tow += 60;  // a minute's outage is still one series
  for (int i = 0; i < 5; ++i) second(0);
  EXPECT_EQ(Collect(stream).runs, 1);
  EXPECT_EQ(Collect(stream).raw.size(), 24u + 60u + 5u);

  tow += 90'000;  // more than a day: a new run; the longer one is analysed
  for (int i = 0; i < 5; ++i) second(0);
  const Collected c = Collect(stream);
  EXPECT_EQ(c.runs, 2);
  EXPECT_EQ(c.raw.size(), 89u);
}

TEST(DecodeStability, ATimeThatKeepsLeapingAheadHoldsNoMoreThanADayOfGaps) {
  // Each report half a day after the last: every gap is kept while the run's
  // gaps stay within its points plus a day, then a new run begins.
  Bytes stream;
  for (std::uint32_t k = 0; k < 40; ++k) {
    Append(stream, PrimaryTiming(1000 + k * 43'200));
    Append(stream, SupplementalTiming(1, 0));
  }
  StabilityCollector c;
  c.feed(stream.data(), stream.size());
  c.finish();
  EXPECT_LE(c.phase(false).size(), 86'400u + 43'200u + 40u);
  EXPECT_GE(c.runs(), 10);
}

TEST(DecodeStability, TermsAcrossAGapAreLeftOutAndCounted) {
  // A steady frequency with missing seconds: closing the gaps up would make
  // phase steps; left as gaps, every deviation stays zero.
  Bytes stream;
  for (std::uint32_t t = 0; t < 400; ++t) {
    if (t % 97 == 50) continue;
    Append(stream, PrimaryTiming(5000 + t));
    Append(stream, SupplementalTiming(static_cast<float>(t) * 0.25F, 0));
  }
  const Collected c = Collect(stream);
  ASSERT_EQ(c.raw.size(), 400u);
  std::istringstream lines(c.csv);
  std::string line;
  std::getline(lines, line);
  std::vector<std::string> names;
  for (std::istringstream head(line); std::getline(head, line, ',');) names.push_back(line);
  const auto column = [&](const std::string& name) {
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
  };
  ASSERT_LT(column("hdev_skipped"), names.size());
  int rows = 0;
  while (std::getline(lines, line)) {
    std::vector<std::string> cells;
    for (std::istringstream row(line); std::getline(row, line, ',');) cells.push_back(line);
    ASSERT_EQ(cells.size(), names.size());
    SCOPED_TRACE(cells[0]);
    EXPECT_LT(std::stod(cells[column("adev")]), 1e-15);
    EXPECT_LT(std::stod(cells[column("hdev_hi")]), 1e-15);
    EXPECT_GT(std::stoul(cells[column("adev_skipped")]), 0u);
    EXPECT_GT(std::stoul(cells[column("mdev_skipped")]), 0u);
    EXPECT_FALSE(cells[column("noise")].empty());
    ++rows;
  }
  EXPECT_EQ(rows, 7);  // tau 1 to 100
}

TEST(DecodeStability, EveryFormatCarriesTheIntervalsAndTheNoise) {
  Bytes stream;
  for (int i = 0; i < 200; ++i) {
    Append(stream, SupplementalTiming(static_cast<float>((i * 7919) % 13), 0.5F));
  }
  StabilityCollector c;
  c.feed(stream.data(), stream.size());
  c.finish();
  for (const DecodeFormat f : {DecodeFormat::Text, DecodeFormat::Csv, DecodeFormat::JsonLines}) {
    LineOutput out;
    c.write(f, out);
    const std::string text(out.text());
    for (const char* needle : {"adev_lo", "adev_hi", "hdev_corrected_hi", "tdev_lo", "noise",
                               "mdev_skipped"}) {
      EXPECT_NE(text.find(needle), std::string::npos) << needle << " in format " << int(f);
    }
  }
  // The CSV is the Charts window's stability export, column for column.
  LineOutput csv;
  c.write(DecodeFormat::Csv, csv);
  EXPECT_EQ(csv.text(), halvix::analysis::StabilityCsv(halvix::analysis::ComputeStability(c.phase(false)),
      halvix::analysis::ComputeStability(c.phase(true))));
  LineOutput json;
  c.write(DecodeFormat::JsonLines, json);
  EXPECT_NE(std::string(json.text()).find("\"noise\":\""), std::string::npos)
      << "the noise type is a JSON string";
}

TEST(DecodeStability, WithoutTimeReportsEachSupplementalReportIsASecond) {
  Bytes stream;
  for (int i = 0; i < 12; ++i) Append(stream, SupplementalTiming(static_cast<float>(i), 0.5F));
  const Collected c = Collect(stream);
  ASSERT_EQ(c.raw.size(), 12u);
  EXPECT_NEAR(c.corrected[3] * 1e9, 2.5, 1e-6);
}
