#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatSettings.h"

namespace rtl {

void PrintTo(const DateTimeParts& p, std::ostream* os) {
  *os << p.Year << '-' << p.Month << '-' << p.Day << ' ' << p.Hour << ':' << p.Minute << ':'
      << p.Second << '.' << p.Millisecond;
}

}  // namespace rtl

namespace {

using rtl::DateTimeParts;

TEST(DateTime, EncodeCountsDaysFrom18991230) {
  EXPECT_EQ(rtl::EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(rtl::EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(rtl::EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(rtl::EncodeDate(2000, 2, 29), 36585);
  EXPECT_EQ(rtl::EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(rtl::EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(rtl::EncodeDateTime(2024, 3, 15, 12, 0, 0, 0), 45366.5);
  EXPECT_EQ(rtl::EncodeTime(6, 0, 0, 0), 0.25);
  // Before day 0 the time counts away from zero.
  EXPECT_EQ(rtl::EncodeDateTime(1899, 12, 29, 12, 0, 0, 0), -1.5);
}

TEST(DateTime, EncodeRejectsInvalidParts) {
  EXPECT_THROW(rtl::EncodeDate(2023, 2, 29), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeDate(1900, 2, 29), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeDate(0, 1, 1), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeDate(10000, 1, 1), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeDate(2020, 13, 1), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeDate(2020, 4, 31), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeTime(24, 0, 0, 0), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeTime(0, 60, 0, 0), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeTime(0, 0, 60, 0), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeTime(0, 0, 0, 1000), rtl::EConvertError);
  EXPECT_THROW(rtl::EncodeTime(-1, 0, 0, 0), rtl::EConvertError);
}

TEST(DateTime, DecodeRoundsToTheMillisecondAndTakesNegativeTimesFromTheAbsoluteValue) {
  const double kMs = 1.0 / 86400000;
  static const struct {
    double value;
    DateTimeParts parts;
  } cases[] = {
      {0, {1899, 12, 30, 0, 0, 0, 0}},
      {0.5, {1899, 12, 30, 12, 0, 0, 0}},
      {45366.5, {2024, 3, 15, 12, 0, 0, 0}},
      {36585, {2000, 2, 29, 0, 0, 0, 0}},
      {-1.5, {1899, 12, 29, 12, 0, 0, 0}},
      {-0.25, {1899, 12, 30, 6, 0, 0, 0}},
      {2958465.999988426, {9999, 12, 31, 23, 59, 59, 0}},
      {-693593, {1, 1, 1, 0, 0, 0, 0}},
      {-693594, {0, 0, 0, 0, 0, 0, 0}},
      {-693594.75, {0, 0, 0, 18, 0, 0, 0}},
      {-1e9, {0, 0, 0, 0, 0, 0, 0}},
      {2958466, {10000, 1, 1, 0, 0, 0, 0}},
      {1e9, {2739807, 1, 2, 0, 0, 0, 0}},
      // Half a millisecond rounds to even: 0.5 ms -> 0, 1.5 ms -> 2.
      {100 + 0.5 * kMs, {1900, 4, 9, 0, 0, 0, 0}},
      {100 + 1.5 * kMs, {1900, 4, 9, 0, 0, 0, 2}},
      // Less than half a millisecond before midnight is the next day.
      {100 - 0.4 * kMs, {1900, 4, 9, 0, 0, 0, 0}},
      {100 - 0.6 * kMs, {1900, 4, 8, 23, 59, 59, 999}},
  };
  for (const auto& c : cases) EXPECT_EQ(rtl::DecodeDateTime(c.value), c.parts) << c.value;
}

TEST(DateTime, DecodeRejectsValuesWithoutAMillisecondCount) {
  for (const double value :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1.1e11})
    EXPECT_THROW(rtl::DecodeDateTime(value), rtl::EConvertError) << value;
}

TEST(DateTime, EncodeAndDecodeAgreeOnEveryDayOfSomeYears) {
  for (int year : {1, 4, 100, 1600, 1899, 1900, 2000, 2024, 9999})
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= 28; day += 9) {
        const double value = rtl::EncodeDateTime(year, month, day, 23, 59, 59, 999);
        const DateTimeParts expected{
            year, static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(day), 23, 59, 59,
            999};
        EXPECT_EQ(rtl::DecodeDateTime(value), expected) << value;
      }
}

TEST(DateTime, TodayIsTheClocksDateAtMidnight) {
  EXPECT_EQ(rtl::Today([] { return 45366.75; }), 45366);
  EXPECT_EQ(rtl::Today([] { return rtl::EncodeDateTime(2024, 3, 15, 0, 0, 0, 0); }), 45366);
  EXPECT_EQ(rtl::Today([] { return -1.5; }), -1);
  const double today = rtl::Today();
  EXPECT_EQ(today, std::floor(today));
  EXPECT_LE(today, rtl::Now());
}

TEST(DateTime, DateTimeToStrUsesTheSettingsPatterns) {
  rtl::TFormatSettings settings;
  settings.DateFormat = "%d/%m/%Y";
  settings.TimeFormat = "%H:%M:%S";
  EXPECT_EQ(rtl::DateTimeToStr(45366, settings), u"15/03/2024");
  EXPECT_EQ(rtl::DateTimeToStr(45366.5, settings), u"15/03/2024 12:00:00");
  EXPECT_EQ(rtl::DateTimeToStr(-693594, settings), u"00/00/0");
}

}  // namespace
