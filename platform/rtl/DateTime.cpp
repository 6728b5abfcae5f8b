#include "platform/rtl/DateTime.h"

#include <locale.h>
#include <math.h>
#include <time.h>

#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Text.h"

namespace rtl {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30.
constexpr std::int64_t kEpochShift = 693'899;

bool IsLeapYear(std::int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1899-12-30 of a proleptic Gregorian date (era arithmetic with
// years starting in March, so the leap day ends a year).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146'097 + day_of_era - kEpochShift;
}

void CivilFromDays(std::int64_t days, DateTimeParts& parts) {
  const std::int64_t z = days + kEpochShift;
  const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
  const std::int64_t day_of_era = z - era * 146'097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t mp = (5 * day_of_year + 2) / 153;
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const std::int64_t year = year_of_era + era * 400 + (month <= 2);
  if (year < 1) return;  // before 0001-01-01: all zeros
  parts.Year = static_cast<std::int32_t>(year);
  parts.Month = static_cast<std::uint16_t>(month);
  parts.Day = static_cast<std::uint16_t>(day_of_year - (153 * mp + 2) / 5 + 1);
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    throw EConvertError(u"Invalid argument to date encode");
  return static_cast<TDateTime>(DaysFromCivil(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    throw EConvertError(u"Invalid argument to time encode");
  const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<TDateTime>(ms) / kMsPerDay;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
  const TDateTime date = EncodeDate(year, month, day);
  const TDateTime time = EncodeTime(hour, minute, second, millisecond);
  // Before day 0 the time of day is counted away from zero as well.
  return date < 0 ? date - time : date + time;
}

DateTimeParts DecodeDateTime(TDateTime value) {
  const double ms = ::roundeven(value * static_cast<double>(kMsPerDay));
  if (!(ms > -9223372036854775808.0 && ms < 9223372036854775808.0))
    throw EConvertError(u"Invalid date and time value");
  const std::int64_t count = static_cast<std::int64_t>(ms);
  const std::int64_t magnitude = count < 0 ? -count : count;
  std::int64_t time = magnitude % kMsPerDay;
  const std::int64_t days = count < 0 ? -(magnitude / kMsPerDay) : magnitude / kMsPerDay;

  DateTimeParts parts;
  CivilFromDays(days, parts);
  parts.Millisecond = static_cast<std::uint16_t>(time % 1000);
  time /= 1000;
  parts.Second = static_cast<std::uint16_t>(time % 60);
  time /= 60;
  parts.Minute = static_cast<std::uint16_t>(time % 60);
  parts.Hour = static_cast<std::uint16_t>(time / 60);
  return parts;
}

std::u16string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  const DateTimeParts parts = DecodeDateTime(value);
  tm fields{};
  fields.tm_year = parts.Year - 1900;
  fields.tm_mon = parts.Month - 1;
  fields.tm_mday = parts.Day;
  fields.tm_hour = parts.Hour;
  fields.tm_min = parts.Minute;
  fields.tm_sec = parts.Second;
  std::string pattern = settings.DateFormat;
  if (parts.Hour != 0 || parts.Minute != 0 || parts.Second != 0 || parts.Millisecond != 0)
    pattern += ' ' + settings.TimeFormat;
  // The patterns are UTF-8; the C locale copies their other bytes unchanged.
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  char text[256];
  const size_t length = strftime_l(text, sizeof text, pattern.c_str(), &fields, c_locale);
  return Utf8ToUtf16(std::string_view(text, length));
}

TDateTime Now() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                        static_cast<int>(now.tv_nsec / 1'000'000));
}

TDateTime Today(const std::function<TDateTime()>& clock) {
  const DateTimeParts parts = DecodeDateTime(clock());
  if (parts.Year == 0) throw EConvertError(u"Invalid date and time value");
  return EncodeDate(parts.Year, parts.Month, parts.Day);
}

}  // namespace rtl
