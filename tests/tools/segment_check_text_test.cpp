// The segment check's verdict from the values read back.
#include <gtest/gtest.h>

#include "tools/diagnostics_segment_check.h"

using halvix::tools::ReadBackValues;
using halvix::tools::SegmentCheckText;

namespace {

TEST(SegmentCheckText, NamesEveryValueStillAtTheTestSetting) {
  const ReadBackValues defaults{0.0f, 0, 1, 0, 3, 2000, 1};
  const ReadBackValues written{100.7f, 5, 0, 0, 2, 100, 10};
  const QString header = QStringLiteral("Some segments not returned to default:\r\n");
  const struct {
    const char* name;
    ReadBackValues values;
    int testPort;
    QString text;
  } cases[] = {
      {"all back", defaults, 0, QStringLiteral("All segments returned to default:\r\n")},
      {"all kept, port A", written, 0,
       header + QStringLiteral(" Receiver Configuration:  Reference Altitude = 100.0\r\n"
                               " I/O Options:             Datum Index = 5\r\n"
                               " Serial Port Settings:    PortA Parity = none\r\n"
                               " Timing Outputs:          Output Options = Always\r\n"
                               " Self Survey Config:      Survey Limit = 100.0\r\n"
                               " NMEA Configuration:      Output Interval = 10\r\n")},
      {"port B is not checked for parity", ReadBackValues{0.0f, 0, 0, 0, 3, 2000, 1}, 1,
       QStringLiteral("All segments returned to default:\r\n")},
      {"altitude truncated", ReadBackValues{99.9f, 0, 1, 0, 3, 2000, 1}, 0,
       QStringLiteral("All segments returned to default:\r\n")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SegmentCheckText(c.values, c.testPort), c.text) << c.name;
  }
}

}  // namespace
