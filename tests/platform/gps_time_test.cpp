#include <gtest/gtest.h>

#include <limits>

#include "platform/gps_time.h"

using halvix::platform::GpsSecondsToUtc;
using halvix::platform::PcClockAsGpsSeconds;
using halvix::platform::UtcDateTime;

TEST(GpsTimeConversion, GpsSecondsToCalendarUtc) {
  EXPECT_EQ(GpsSecondsToUtc(1'000'000'000.0, 14.0), (UtcDateTime{2011, 9, 14, 1, 46, 26}));
  EXPECT_EQ(GpsSecondsToUtc(0.0, 0.0), (UtcDateTime{1980, 1, 6, 0, 0, 0}));
  // Fractions are dropped, never rounded into the next day.
  EXPECT_EQ(GpsSecondsToUtc(86399.999, 0.0), (UtcDateTime{1980, 1, 6, 23, 59, 59}));
  EXPECT_EQ(GpsSecondsToUtc(360 * 86400.0, 0.0), (UtcDateTime{1980, 12, 31, 0, 0, 0}));
  EXPECT_EQ(GpsSecondsToUtc(54 * 86400.0 + 3723.0, 0.0), (UtcDateTime{1980, 2, 29, 1, 2, 3}));
}

TEST(GpsTimeConversion, GoesOnPastTheOldYearTable) {
  // 2012 is past the 32-year table, 2100 skips its leap day, 2400 keeps it.
  EXPECT_EQ(GpsSecondsToUtc(PcClockAsGpsSeconds({2012, 2, 29, 12, 0, 0}), 0.0),
            (UtcDateTime{2012, 2, 29, 12, 0, 0}));
  EXPECT_EQ(GpsSecondsToUtc(3791491200.0 + 86399.0, 0.0), (UtcDateTime{2100, 2, 28, 23, 59, 59}));
  EXPECT_EQ(GpsSecondsToUtc(3791491200.0 + 86400.0, 0.0), (UtcDateTime{2100, 3, 1, 0, 0, 0}));
  EXPECT_EQ(GpsSecondsToUtc(13258598400.0, 0.0), (UtcDateTime{2400, 2, 29, 0, 0, 0}));
}

TEST(GpsTimeConversion, TimesThePcClockCannotTakeGiveNothing) {
  EXPECT_FALSE(GpsSecondsToUtc(10.0, 14.0).has_value());
  EXPECT_FALSE(GpsSecondsToUtc(std::numeric_limits<double>::quiet_NaN(), 0.0).has_value());
  EXPECT_FALSE(GpsSecondsToUtc(std::numeric_limits<double>::infinity(), 0.0).has_value());
  EXPECT_FALSE(GpsSecondsToUtc(1e300, 0.0).has_value());
  EXPECT_TRUE(GpsSecondsToUtc(14.0, 14.0).has_value());
}

TEST(GpsTimeConversion, PcClockAsGpsSeconds) {
  EXPECT_EQ(PcClockAsGpsSeconds({1980, 1, 6, 0, 0, 0}), 0.0);
  EXPECT_EQ(PcClockAsGpsSeconds({2000, 1, 1, 0, 0, 0}), 630'720'000.0);
  // Eight 29 Februaries from 1980 to 2008 inclusive.
  EXPECT_EQ(PcClockAsGpsSeconds({2008, 3, 1, 0, 0, 0}), 888'364'800.0);
  EXPECT_EQ(PcClockAsGpsSeconds({2008, 2, 29, 23, 59, 59}), 888'364'799.0);
  EXPECT_EQ(PcClockAsGpsSeconds({2100, 3, 1, 0, 0, 0}), 3791577600.0);
}

TEST(GpsTimeConversion, RoundTripsAcrossYearAndMonthEnds) {
  const UtcDateTime dates[] = {{1980, 1, 6, 0, 0, 1},   {1980, 12, 31, 23, 59, 59},
                               {1981, 1, 1, 0, 0, 0},   {1999, 12, 31, 23, 59, 59},
                               {2011, 12, 31, 23, 59, 59}, {2012, 1, 1, 0, 0, 0},
                               {2038, 1, 19, 3, 14, 8}, {2099, 12, 31, 23, 59, 59},
                               {2101, 1, 1, 0, 0, 0},   {2200, 6, 30, 12, 30, 30}};
  for (const UtcDateTime& d : dates) {
    const auto back = GpsSecondsToUtc(PcClockAsGpsSeconds(d), 0.0);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, d) << d.year << '-' << d.month << '-' << d.day;
  }
}
