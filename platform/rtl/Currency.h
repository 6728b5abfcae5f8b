// Fixed-point amounts with four decimal places.
#pragma once

#include <compare>
#include <cstdint>

namespace rtl {

class Currency {
 public:
  constexpr Currency() = default;
  // A value holding count / 10 000.
  static constexpr Currency FromCount(std::int64_t count) { return Currency(count); }
  // value x 10 000 rounded to the nearest count, halves to even. The product is
  // formed exactly (in extended precision), so every compiler agrees on the
  // result. Fails with EConvertError for NaN and values outside the 64-bit range.
  static Currency FromDouble(double value);

  constexpr std::int64_t Count() const { return count_; }
  // The nearest double to Count() / 10 000.
  double ToDouble() const;

  friend constexpr auto operator<=>(Currency, Currency) = default;

 private:
  constexpr explicit Currency(std::int64_t count) : count_(count) {}
  std::int64_t count_ = 0;
};

}  // namespace rtl
