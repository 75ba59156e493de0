#include <gtest/gtest.h>

#include "link/port_settings.h"

using namespace halvix::link;

TEST(PortSettings, CaptionsAndLinesFromTheTables) {
  PortSettings s{0, 7, 3, 0, 0, 2, 2};
  EXPECT_EQ(*PortSettingsCaption(QStringLiteral("COM3"), s), QStringLiteral("COM3 9600, 8-None-1"));
  EXPECT_EQ(*LineSettingsFor(s), (LineSettings{9600, 8, Parity::None, StopBits::One}));

  s = PortSettings{0, 9, 3, 2, 1, 2, 2};
  EXPECT_EQ(*PortSettingsCaption(QStringLiteral("COM1"), s), QStringLiteral("COM1 38400, 8-Even-2"));
  EXPECT_EQ(*LineSettingsFor(s), (LineSettings{38400, 8, Parity::Even, StopBits::Two}));

  s.baudCode = 0;  // "None" runs at 9600 and shows 0000
  EXPECT_EQ(*PortSettingsCaption(QStringLiteral("COM1"), s), QStringLiteral("COM1 0000, 8-Even-2"));
  EXPECT_EQ(LineSettingsFor(s)->baud, 9600);
}

TEST(PortSettings, CodesOutsideTheTablesAreRefused) {
  for (PortSettings bad : {PortSettings{0, 10, 3, 0, 0, 2, 2}, PortSettings{0, 7, 4, 0, 0, 2, 2},
                           PortSettings{0, 7, 3, 3, 0, 2, 2}, PortSettings{0, 7, 3, 0, 2, 2, 2},
                           PortSettings{0, 255, 255, 255, 255, 0, 0}}) {
    EXPECT_FALSE(PortSettingsValid(bad));
    EXPECT_FALSE(LineSettingsFor(bad).has_value());
    EXPECT_FALSE(PortSettingsCaption(QStringLiteral("COM1"), bad).has_value());
  }
  EXPECT_FALSE(BaudRateForCode(-1).has_value());
  EXPECT_FALSE(BaudRateForCode(10).has_value());
}

TEST(PortSettings, DefaultsAreNineSixHundredEightOddOne) {
  PortSettings s{};
  DefaultPortSettings(1, s);
  EXPECT_EQ(s, (PortSettings{1, 7, 3, 1, 0, 2, 2}));
  EXPECT_EQ(*LineSettingsFor(s), (LineSettings{9600, 8, Parity::Odd, StopBits::One}));
}
