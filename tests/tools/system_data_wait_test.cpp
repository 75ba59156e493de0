// The wait for report 0x58: which replies it accepts, what it drops, and
// that it ends on the clock.
#include <gtest/gtest.h>

#include "link/serial_link.h"
#include "tests/support/scripted_device.h"
#include "tools/almanac_transfer.h"

using namespace halvix;
using halvix::testing::Bytes;

namespace {

Bytes Framed(const Bytes& packet) {
  Bytes f{0x10};
  for (std::uint8_t b : packet) {
    f.push_back(b);
    if (b == 0x10) f.push_back(0x10);
  }
  f.insert(f.end(), {0x10, 0x03});
  return f;
}

TEST(WaitForSystemData, AcceptsOnlyAWholeReplyOfTheTypeAndSv) {
  const struct {
    const char* name;
    std::vector<Bytes> replies;
    bool accepted;
    int length;
  } cases[] = {
      {"the reply", {{0x58, 0x02, 0x02, 0x07, 0x02, 0xAA, 0x10}}, true, 2},
      {"other SV, then the reply",
       {{0x58, 0x02, 0x02, 0x08, 0x01, 0xBB}, {0x58, 0x02, 0x02, 0x07, 0x01, 0xCC}}, true, 1},
      {"length byte beyond the payload", {{0x58, 0x02, 0x02, 0x07, 0x32, 0xAA}}, false, 0},
      {"too short for a header", {{0x58, 0x02, 0x02}}, false, 0},
      {"another report", {{0x41, 0x02, 0x02, 0x07, 0x00}}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    link::VirtualClock clock;
    halvix::testing::ScriptedDevice device(&clock);
    link::SerialLink link(device, clock);
    ASSERT_EQ(link.OpenLink(QStringLiteral("scripted")), 0);
    for (const Bytes& r : c.replies) device.queueRead(Framed(r));
    int seen = 0;
    tools::SystemDataTransfer transfer(link, {{}, {}, {}, [&seen] { ++seen; }});
    const std::int64_t start = clock.nowMs();
    EXPECT_EQ(transfer.WaitForSystemData(2, 7), c.accepted);
    EXPECT_EQ(seen, static_cast<int>(c.replies.size()));
    if (c.accepted) {
      EXPECT_EQ(transfer.currentReply().length, c.length);
      EXPECT_EQ(transfer.lastOperation(), 2);
      EXPECT_EQ(transfer.currentReply().sv, 7);
    } else {
      // Given up after the bound, in pauses rather than a spin.
      EXPECT_GE(clock.nowMs() - start, tools::SystemDataTransfer::kWaitBoundMs);
      EXPECT_LT(clock.nowMs() - start, tools::SystemDataTransfer::kWaitBoundMs + 100);
    }
  }
}

}  // namespace
