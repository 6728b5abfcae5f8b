// Number text in the platform's general format, independent of the C locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/Currency.h"

namespace rtl {

// General format, 15 significant digits: the magnitude is taken to 18 digits
// (rounded to nearest), then cut to 15 with a sixteenth digit of 5 or more
// rounding up, trailing zeros dropped. Exponents above 15 or below -3 (as
// 0.d1d2... x 10^E) give scientific form "d.dddE-n"; zero is "0"; infinities
// "INF"/"-INF" and not-a-number "NAN". No thousands separator. Magnitudes
// whose rounded digits would exceed the largest double are cut instead, so
// the text always reads back as a finite double.
std::u16string FloatToStr(double value, char16_t decimal_separator);
// With the process-wide decimal separator.
std::u16string FloatToStr(double value);

// All significant decimals of the amount, no trailing zeros: "2.5", "-0.0001", "3".
std::u16string CurrToStr(Currency value, char16_t decimal_separator);

// Reads "[blanks][sign]digits[separator digits][E[sign]digits][blanks]" with at
// least one digit before the exponent. Empty for any other text and for
// values beyond the double range.
std::optional<double> TryTextToFloat(std::u16string_view text, char16_t decimal_separator);

}  // namespace rtl
