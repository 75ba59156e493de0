// Replay pacing on virtual time: a recording's receiver-seconds take as long
// as they did at 1x, a tenth at 10x, a pause holds them, repeated seconds of
// polled answers are not counted twice and a gap in the time is skipped.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "link/clock.h"
#include "tests/reports/payload_writer.h"
#include "recording/replay_device.h"

using halvix::testing::PayloadWriter;
using namespace halvix;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& out, int id, const PayloadWriter& p) {
  out.insert(out.end(), {0x10, static_cast<std::uint8_t>(id)});
  for (int i = 0; i < p.length(); ++i) {
    out.push_back(p.data()[i]);
    if (p.data()[i] == 0x10) out.push_back(0x10);
  }
  out.insert(out.end(), {0x10, 0x03});
}

// One receiver-second: 8F-AB and 8F-AC, then a polled 0x41 of the same second.
void Second(Bytes& out, std::uint32_t tow, bool withTime = true) {
  if (withTime) Append(out, 0x8F, PayloadWriter(17).byte(0, 0xAB).longWord(1, tow));
  Append(out, 0x8F, PayloadWriter(68).byte(0, 0xAC));
  if (withTime) Append(out, 0x41, PayloadWriter(10).single(0, static_cast<float>(tow) + 0.5F));
}

QString Write(const QTemporaryDir& dir, const Bytes& bytes) {
  const QString name = dir.filePath(QStringLiteral("r.qlp"));
  QFile f(name);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  return name;
}

// Drains the device every 100 ms of virtual time; the time it finished.
std::int64_t PlayOut(recording::ReplayDevice& d, link::VirtualClock& clock, std::int64_t limitMs,
                     std::int64_t* allReadAt = nullptr) {
  std::uint8_t buf[4096];
  const std::int64_t start = clock.nowMs();
  while (clock.nowMs() - start < limitMs) {
    while (d.read(buf, sizeof buf) > 0) {
    }
    if (allReadAt != nullptr && *allReadAt < 0 && d.bytesWaiting() == 0 &&
        d.positionSeconds() + 1 >= d.durationSeconds())
      *allReadAt = clock.nowMs() - start;
    if (d.finished()) return clock.nowMs() - start;
    clock.advance(100);
  }
  return -1;
}

TEST(ReplayPacing, SixtySecondsTakeSixtyAtOnceAndSixAtTen) {
  QTemporaryDir dir;
  Bytes b;
  for (std::uint32_t s = 0; s < 60; ++s) Second(b, 200000 + s);
  const QString name = Write(dir, b);
  struct Case {
    double speed;
    std::int64_t endMs;
  };
  for (const Case c : {Case{1, 60000}, Case{10, 6000}}) {
    SCOPED_TRACE(c.speed);
    link::VirtualClock clock;
    recording::ReplayDevice d(clock, c.speed);
    ASSERT_TRUE(d.open(name));
    EXPECT_EQ(d.durationSeconds(), 60);
    std::int64_t lastReadAt = -1;
    EXPECT_EQ(PlayOut(d, clock, 120000, &lastReadAt), c.endMs);
    // The last second's bytes come when it starts, not before.
    EXPECT_EQ(lastReadAt, c.endMs - c.endMs / 60);
  }
}

TEST(ReplayPacing, PauseHoldsAndSpeedChangesOnTheWay) {
  QTemporaryDir dir;
  Bytes b;
  for (std::uint32_t s = 0; s < 20; ++s) Second(b, 1000 + s);
  link::VirtualClock clock;
  recording::ReplayDevice d(clock);
  ASSERT_TRUE(d.open(Write(dir, b)));
  clock.advance(3000);
  std::uint8_t buf[8192];
  const std::int64_t before = d.read(buf, sizeof buf);
  EXPECT_EQ(d.positionSeconds(), 3);
  d.setPaused(true);
  clock.advance(30000);
  EXPECT_EQ(d.read(buf, sizeof buf), 0);
  EXPECT_EQ(d.positionSeconds(), 3);
  EXPECT_TRUE(recording::ReplayStatusText(d).endsWith(QStringLiteral("00:00:03 / 00:00:20, paused")));
  d.setPaused(false);
  d.setSpeed(1000);  // clamped to 100x
  EXPECT_EQ(d.speed(), recording::ReplayDevice::kMaxSpeed);
  EXPECT_EQ(PlayOut(d, clock, 10000), 200);
  EXPECT_GT(before, 0);
  EXPECT_TRUE(recording::ReplayStatusText(d).contains(QStringLiteral("00:00:20 / 00:00:20, end of recording")));
}

TEST(ReplayPacing, WhatStartsASecond) {
  struct Case {
    const char* what;
    Bytes stream;
    int seconds;
    std::vector<std::pair<int, std::int64_t>> gaps;
  };
  Bytes gap, acOnly, frozen, answers;
  for (std::uint32_t s : {10U, 11U, 12U, 500U, 501U}) Second(gap, s);
  for (int i = 0; i < 30; ++i) Second(acOnly, 0, false);
  for (int i = 0; i < 8; ++i) Second(frozen, 0);  // no time yet: the time stands still
  for (std::uint32_t s : {20U, 21U, 22U}) {
    Second(answers, s);
    Append(answers, 0x41, PayloadWriter(10).single(0, static_cast<float>(s)));  // a second answer
    Append(answers, 0x8F, PayloadWriter(74).byte(0, 0x0B).dbl(3, s + 0.25));
  }
  const std::vector<Case> cases = {
      {"a gap is one second", gap, 5, {{3, 487}}},
      {"0x8F-AC paces a stream without time", acOnly, 30, {}},
      {"0x8F-AC paces a time that stands still", frozen, 8, {}},
      {"answers in the same second count once", answers, 3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const recording::RecordingIndex i = recording::IndexStream(c.stream.data(), c.stream.size());
    EXPECT_EQ(static_cast<int>(i.secondStarts.size()), c.seconds);
    EXPECT_EQ(i.gaps, c.gaps);
  }
}

TEST(ReplayDevice, HeldCommandsGoNowhereAndAMissingFileFails) {
  QTemporaryDir dir;
  Bytes b;
  Second(b, 5);
  link::VirtualClock clock;
  recording::ReplayDevice d(clock);
  EXPECT_FALSE(d.open(dir.filePath(QStringLiteral("none.qlp"))));
  EXPECT_FALSE(d.error().isEmpty());
  d.setHeld(true);
  ASSERT_TRUE(d.open(Write(dir, b)));
  clock.advance(5000);
  EXPECT_EQ(d.bytesWaiting(), 0) << "held: nothing comes and time stands";
  EXPECT_EQ(d.positionSeconds(), 0);
  d.setHeld(false);
  EXPECT_GT(d.bytesWaiting(), 0);
  int dropped = 0;
  d.setCommandDropped([&] { ++dropped; });
  const std::uint8_t cmd[] = {0x10, 0x21, 0x10, 0x03};
  EXPECT_EQ(d.write(cmd, 4), 4);
  EXPECT_EQ(dropped, 1);
  EXPECT_TRUE(recording::ReplayStatusText(d).endsWith(QStringLiteral(", commands not sent")));
}

}  // namespace
