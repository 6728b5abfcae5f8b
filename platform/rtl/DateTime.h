// TDateTime: days since 1899-12-30 (day 0) in a double; the fraction is the
// time of day. A negative value counts days before that date and takes its
// time of day from the absolute value.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rtl {

struct TFormatSettings;

using TDateTime = double;

// A decoded date and time. The date is proleptic Gregorian; dates before
// 0001-01-01 decode as year, month and day 0.
struct DateTimeParts {
  std::int32_t Year = 0;
  std::uint16_t Month = 0;
  std::uint16_t Day = 0;
  std::uint16_t Hour = 0;
  std::uint16_t Minute = 0;
  std::uint16_t Second = 0;
  std::uint16_t Millisecond = 0;

  friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// Fail with EConvertError on an invalid date (years 1 to 9999) or time
// (hour < 24, minute and second < 60, millisecond < 1000).
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond);

// Rounds to the nearest millisecond (halves to even) and splits the result.
// Fails with EConvertError for NaN, infinities and values whose millisecond
// count does not fit in 64 bits.
DateTimeParts DecodeDateTime(TDateTime value);

// The date in the settings' date format, followed by a space and the time in
// their time format when the time of day is not 00:00:00.000. Fails as
// DecodeDateTime does.
std::u16string DateTimeToStr(TDateTime value, const TFormatSettings& settings);

// The local date and time now, to the millisecond.
TDateTime Now();
// The date of clock() at 00:00; the clock is a parameter so callers can fix it.
TDateTime Today(const std::function<TDateTime()>& clock = Now);

}  // namespace rtl
