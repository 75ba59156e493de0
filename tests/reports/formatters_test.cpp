#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "reports/formatters.h"

using namespace halvix::reports;

namespace {

const QString kDeg = QString(QChar(0x00B0));
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(WeekTime, SentinelAndOutOfRangeValues) {
  QString buffer = QStringLiteral("untouched");
  EXPECT_EQ(FormatWeekTime(-1.0f, false, &buffer), QStringLiteral("<No time yet>"));
  EXPECT_EQ(buffer, QStringLiteral("untouched"));
  EXPECT_EQ(FormatWeekTime(604800.0f, false, &buffer), QStringLiteral("<Bad time>"));
  EXPECT_EQ(FormatWeekTime(-604801.0f, true, &buffer), QStringLiteral("<Bad time>"));
  EXPECT_EQ(FormatWeekTime(std::numeric_limits<float>::quiet_NaN(), false, &buffer),
            QStringLiteral("<Bad time>"));
  EXPECT_EQ(FormatWeekTime(std::numeric_limits<float>::infinity(), false, &buffer),
            QStringLiteral("<Bad time>"));
  EXPECT_EQ(buffer, QStringLiteral("untouched"));
}

TEST(WeekTime, SplitsDayHoursMinutesSeconds) {
  QString buffer;
  EXPECT_EQ(FormatWeekTime(0.0f, false, &buffer), QStringLiteral("Sun 00:00:00"));
  EXPECT_EQ(buffer, QStringLiteral("Sun 00:00:00"));
  // Negative values other than -1 count back from the end of the week.
  EXPECT_EQ(FormatWeekTime(-3600.0f, false), QStringLiteral("Sat 23:00:00"));
  EXPECT_EQ(FormatWeekTime(-3600.0f, true, &buffer), QStringLiteral("23:00:00"));
  EXPECT_EQ(buffer, QStringLiteral("23:00:00"));
  EXPECT_EQ(FormatWeekTime(100000.0f, false), QStringLiteral("Mon 03:46:40"));
  EXPECT_EQ(FormatWeekTime(604799.0f, false), QStringLiteral("Sat 23:59:59"));
  EXPECT_EQ(FormatWeekTime(86400.0f * 3 + 7, false), QStringLiteral("Wed 00:00:07"));
}

TEST(WeekTime, RoundedSecondsCarryInsteadOfShowingSixty) {
  EXPECT_EQ(FormatWeekTime(59.6f, true), QStringLiteral("00:01:00"));
  EXPECT_EQ(FormatWeekTime(3599.7f, false), QStringLiteral("Sun 01:00:00"));
  EXPECT_EQ(FormatWeekTime(12.4f, false), QStringLiteral("Sun 00:00:12"));
  // The last half second of the week wraps to the start, not to an eighth weekday.
  EXPECT_EQ(FormatWeekTime(604799.6f, false), QStringLiteral("Sun 00:00:00"));
}

TEST(WeekTime, PreciseKeepsNanoseconds) {
  EXPECT_EQ(FormatPreciseWeekTime(3723.5), QStringLiteral("1:02:03.500000000"));
  EXPECT_EQ(FormatPreciseWeekTime(100000.123456789), QStringLiteral("3:46:40.123456789"));
  EXPECT_EQ(FormatPreciseWeekTime(-1.0), QStringLiteral("<No time yet>"));
  EXPECT_EQ(FormatPreciseWeekTime(604800.0), QStringLiteral("<Bad time>"));
  EXPECT_EQ(FormatPreciseWeekTime(kNan), QStringLiteral("<Bad time>"));
  EXPECT_EQ(FormatPreciseWeekTime(-0.5), QStringLiteral("23:59:59.500000000"));
  EXPECT_EQ(FormatPreciseWeekTime(3599.9999999999), QStringLiteral("1:00:00.000000000"));
}

TEST(GpsDate, WalksTheGregorianCalendar) {
  EXPECT_EQ(FormatGpsDate(0.0), QStringLiteral(" Jan 6, 1980"));
  EXPECT_EQ(FormatGpsDate(604800.0 * 1400), QStringLiteral(" Nov 5, 2006"));
  EXPECT_EQ(FormatGpsDate(604800.0 * 1400 + 5 * 86400.0), QStringLiteral(" Nov 10, 2006"));
  EXPECT_EQ(FormatGpsDate(604800.0 * 1000), QStringLiteral(" Mar 7, 1999"));
  // 1980 is short (counted from 6 January) and a leap year.
  EXPECT_EQ(FormatGpsDate(360 * 86400.0), QStringLiteral(" Dec 31, 1980"));
  EXPECT_EQ(FormatGpsDate(361 * 86400.0), QStringLiteral(" Jan 1, 1981"));
  EXPECT_EQ(FormatGpsDate(54 * 86400.0), QStringLiteral(" Feb 29, 1980"));
  EXPECT_EQ(FormatGpsDate(361 * 86400.0 - 0.5), QStringLiteral(" Dec 31, 1980"));
}

TEST(GpsDate, GoesOnPastTheOldYearTableAndThrough2100) {
  EXPECT_EQ(FormatGpsDate(3791491200.0), QStringLiteral(" Feb 28, 2100"));
  // 2100 is not a leap year; 2400 is.
  EXPECT_EQ(FormatGpsDate(3791577600.0), QStringLiteral(" Mar 1, 2100"));
  EXPECT_EQ(FormatGpsDate(13258598400.0), QStringLiteral(" Feb 29, 2400"));
  EXPECT_EQ(FormatGpsDate(kNan), QStringLiteral("<Bad time>"));
  EXPECT_EQ(FormatGpsDate(1e300), QStringLiteral("<Bad time>"));
}

TEST(Angles, DegMinSecInSinglePrecision) {
  const double latitude = RadiansToDegrees(0.5853);
  EXPECT_EQ(QString::asprintf("%.6f", latitude), QStringLiteral("33.535248"));
  EXPECT_EQ(FormatDegMinSec(latitude), QStringLiteral("33") + kDeg + QStringLiteral(" 32' 6.893"));
  EXPECT_EQ(FormatLatLon(latitude, true), FormatDegMinSec(latitude));
  EXPECT_EQ(FormatLatLon(latitude, false), QStringLiteral("33.535248"));
  EXPECT_EQ(FormatDegMinSec(-33.5), QStringLiteral("-33") + kDeg + QStringLiteral(" 30' 0.000"));
  EXPECT_EQ(FormatDegMinSec(0.0), QStringLiteral("0") + kDeg + QStringLiteral(" 0' 0.000"));
}

TEST(Angles, SignAndCarryEdges) {
  // Between -1 and 0 the degrees read 0, so the sign must show on them anyway.
  EXPECT_EQ(FormatDegMinSec(-0.5), QStringLiteral("-0") + kDeg + QStringLiteral(" 30' 0.000"));
  EXPECT_EQ(FormatDegMinSec(0.5), QStringLiteral("0") + kDeg + QStringLiteral(" 30' 0.000"));
  EXPECT_EQ(FormatLatLon(-0.25, false), QStringLiteral("-0.250000"));
  // Rounding up to a full minute or degree carries.
  EXPECT_EQ(FormatDegMinSec(33.99999999), QStringLiteral("34") + kDeg + QStringLiteral(" 0' 0.000"));
  EXPECT_EQ(FormatDegMinSec(-0.99999999), QStringLiteral("-1") + kDeg + QStringLiteral(" 0' 0.000"));
  EXPECT_EQ(FormatDegMinSec(10.0 + 59.99999 / 3600.0),
            QStringLiteral("10") + kDeg + QStringLiteral(" 1' 0.000"));
  // Values no position can have still give a text.
  EXPECT_EQ(FormatDegMinSec(kNan), QStringLiteral("nan"));
  EXPECT_FALSE(FormatDegMinSec(1e12).isEmpty());
}

TEST(Angles, HemisphereStyle) {
  const HemisphereAngle south = FormatLatitudeHemisphere(RadiansToDegrees(-0.5847));
  EXPECT_EQ(south.degrees, QStringLiteral("33") + kDeg);
  EXPECT_EQ(south.minutes, QStringLiteral("30.0522'"));
  EXPECT_EQ(south.hemisphere, QStringLiteral("S"));
  const HemisphereAngle east = FormatLongitudeHemisphere(151.25);
  EXPECT_EQ(east.degrees, QStringLiteral("151") + kDeg);
  EXPECT_EQ(east.minutes, QStringLiteral("15.0000'"));
  EXPECT_EQ(east.hemisphere, QStringLiteral("E"));
  EXPECT_EQ(FormatLongitudeHemisphere(-0.0).hemisphere, QStringLiteral("E"));
  EXPECT_EQ(FormatLongitudeHemisphere(-1.5).hemisphere, QStringLiteral("W"));
  const HemisphereAngle carried = FormatLatitudeHemisphere(12.9999999999);
  EXPECT_EQ(carried.degrees, QStringLiteral("13") + kDeg);
  EXPECT_EQ(carried.minutes, QStringLiteral("0.0000'"));
  EXPECT_EQ(FormatLatitudeHemisphere(kNan).minutes, QString());
}

TEST(Angles, RadianFactorUsesTheShortPi) {
  EXPECT_EQ(QString::asprintf("%.6f", RadiansToDegrees(std::numbers::pi / 2)), QStringLiteral("90.000076"));
  EXPECT_DOUBLE_EQ(RadiansToDegrees(3.14159), 180.0);
}

TEST(NameTables, FallBackOutsideTheTables) {
  EXPECT_EQ(MonthName(1), QStringLiteral("Jan"));
  EXPECT_EQ(MonthName(12), QStringLiteral("Dec"));
  EXPECT_EQ(MonthName(0), QStringLiteral("???"));
  EXPECT_EQ(MonthName(13), QStringLiteral("???"));
  EXPECT_EQ(MonthName(-1), QStringLiteral("???"));
  EXPECT_EQ(WeekdayName(6), QStringLiteral("Sat"));
  EXPECT_EQ(WeekdayName(7), QStringLiteral("???"));
  EXPECT_EQ(FormatCalendarDate(12, 31, 2006), QStringLiteral("Dec 31, 2006"));
  EXPECT_EQ(FormatCalendarDate(200, 1, 2006), QStringLiteral("??? 1, 2006"));
  EXPECT_EQ(FormatClockTime(1, 2, 3), QStringLiteral("01:02:03"));
}
