#include "platform/rtl/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/rtl/FormatSettings.h"

namespace rtl {
namespace {

// Appends the decimal digits of value to out; returns the new end.
char16_t* WriteUnsigned(char16_t* out, std::uint64_t value) {
  char digits[20];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  for (const char* p = digits; p != end; ++p) *out++ = static_cast<char16_t>(*p);
  return out;
}

bool IsBlank(char16_t c) { return c <= u' '; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::u16string FloatToStr(double value, char16_t decimal_separator) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
  if (value == 0) return u"0";

  // 18 significant digits, correctly rounded: "d.ddddddddddddddddde+XX".
  char text[32];
  const auto end =
      std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific, 17)
          .ptr;
  char digits[18];
  digits[0] = text[0];
  std::memcpy(digits + 1, text + 2, 17);
  int exponent = 0;
  std::from_chars(text + 21, end, exponent);
  if (text[20] == '-') exponent = -exponent;
  int e = exponent + 1;  // magnitude = 0.d1d2... x 10^e

  // Cut to 15 digits; the sixteenth rounds up from 5, carrying as needed.
  // Just below the largest double that would give a number beyond the double
  // range, which no reader (a database server included) accepts; there the
  // digits are cut instead.
  constexpr char kLargestDigits[] = "179769313486231";
  const bool at_the_top = e == 309 && std::memcmp(digits, kLargestDigits, 15) == 0;
  if (digits[15] >= '5' && !at_the_top) {
    int i = 14;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i < 0) {
      digits[0] = '1';
      ++e;
    } else {
      ++digits[i];
    }
  }
  int n = 15;
  while (n > 1 && digits[n - 1] == '0') --n;

  char16_t out[32];
  char16_t* p = out;
  if (value < 0) *p++ = u'-';
  if (e > 15 || e < -3) {
    *p++ = digits[0];
    if (n > 1) {
      *p++ = decimal_separator;
      for (int i = 1; i < n; ++i) *p++ = digits[i];
    }
    *p++ = u'E';
    if (e - 1 < 0) *p++ = u'-';
    p = WriteUnsigned(p, static_cast<std::uint64_t>(std::abs(e - 1)));
  } else if (e <= 0) {
    *p++ = u'0';
    *p++ = decimal_separator;
    for (int i = 0; i < -e; ++i) *p++ = u'0';
    for (int i = 0; i < n; ++i) *p++ = digits[i];
  } else {
    for (int i = 0; i < e; ++i) *p++ = i < n ? digits[i] : u'0';
    if (n > e) {
      *p++ = decimal_separator;
      for (int i = e; i < n; ++i) *p++ = digits[i];
    }
  }
  return std::u16string(out, p);
}

std::u16string FloatToStr(double value) {
  return FloatToStr(value, FormatSettings().DecimalSeparator);
}

std::u16string CurrToStr(Currency value, char16_t decimal_separator) {
  const std::int64_t count = value.Count();
  // Negate in unsigned arithmetic so the most negative count survives.
  const std::uint64_t magnitude =
      count < 0 ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
  char16_t out[32];
  char16_t* p = out;
  if (count < 0) *p++ = u'-';
  p = WriteUnsigned(p, magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    *p++ = decimal_separator;
    int places = 4;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --places;
    }
    for (int i = places - 1; i >= 0; --i) {
      p[i] = static_cast<char16_t>(u'0' + fraction % 10);
      fraction /= 10;
    }
    p += places;
  }
  return std::u16string(out, p);
}

std::optional<double> TryTextToFloat(std::u16string_view text, char16_t decimal_separator) {
  size_t i = 0;
  size_t end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;

  // Rebuild the number in the form from_chars reads.
  std::string number;
  number.reserve(end - i);
  bool negative = false;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  bool any_digit = false;
  for (; i < end && IsDigit(text[i]); ++i, any_digit = true) number += static_cast<char>(text[i]);
  if (i < end && text[i] == decimal_separator) {
    number += '.';
    for (++i; i < end && IsDigit(text[i]); ++i, any_digit = true)
      number += static_cast<char>(text[i]);
  }
  if (!any_digit) return std::nullopt;
  if (i < end && (text[i] == u'e' || text[i] == u'E')) {
    number += 'e';
    ++i;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) number += static_cast<char>(text[i++]);
    const size_t first = i;
    for (; i < end && IsDigit(text[i]); ++i) number += static_cast<char>(text[i]);
    if (i == first) return std::nullopt;
  }
  if (i != end) return std::nullopt;

  double value = 0;
  const auto [ptr, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || ptr != number.data() + number.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace rtl
