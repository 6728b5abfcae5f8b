#include "platform/rtl/Currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Exception.h"

namespace {

TEST(Currency, FromDoubleRoundsTheExactProductHalvesToEven) {
  static const struct {
    double value;
    std::int64_t count;
  } cases[] = {
      {0.0, 0},
      {2.5, 25000},
      {18.0, 180000},
      {15.9, 159000},
      {12.3456, 123456},
      {0.03125, 312},  // exactly 312.5 counts
      {0.09375, 938},  // exactly 937.5 counts
      {-0.03125, -312},
      {-0.09375, -938},
      {0.00005, 1},  // the double lies just above half a count
      {0.00015, 1},  // ... and this one just below 1.5
      // A product rounded to double first would land on .5 and go the other way.
      {225.42575, 2254257},
      {754.12085, 7541209},
      {922337203685477.5, 9223372036854775000},
      {-922337203685477.5, -9223372036854775000},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rtl::Currency::FromDouble(c.value).Count(), c.count) << c.value;
}

TEST(Currency, FromDoubleRejectsValuesOutsideTheRange) {
  for (const double value :
       {922337203685477.625, -922337203685477.75, 1e300, std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
    EXPECT_THROW(rtl::Currency::FromDouble(value), rtl::EConvertError) << value;
}

TEST(Currency, ToDouble) {
  EXPECT_EQ(rtl::Currency::FromCount(25000).ToDouble(), 2.5);
  EXPECT_EQ(rtl::Currency::FromCount(-1).ToDouble(), -0.0001);
  EXPECT_EQ(rtl::Currency::FromCount(159000).ToDouble(), 15.9);
}

}  // namespace
