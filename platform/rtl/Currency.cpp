#include "platform/rtl/Currency.h"

#include <math.h>

#include <limits>

#include "platform/rtl/Exception.h"

namespace rtl {

// A double's 53-bit significand times 10 000 (14 bits) needs 67 bits at most,
// but the low bits of 10 000 = 2^4 x 625 only shift the exponent, so 63 bits
// hold the product exactly. Narrower long doubles would round twice.
static_assert(std::numeric_limits<long double>::digits >= 63,
              "Currency::FromDouble needs an extended-precision long double");

Currency Currency::FromDouble(double value) {
  // roundevenl rounds halves to even whatever the floating-point rounding mode is.
  const long double scaled = ::roundevenl(static_cast<long double>(value) * 10000.0L);
  constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
  if (!(scaled >= -kLimit && scaled < kLimit))
    throw EConvertError(u"Floating point value out of the range of a currency value");
  return Currency(static_cast<std::int64_t>(scaled));
}

double Currency::ToDouble() const {
  return static_cast<double>(static_cast<long double>(count_) / 10000.0L);
}

}  // namespace rtl
