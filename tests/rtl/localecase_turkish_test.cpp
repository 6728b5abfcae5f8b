// Locale-aware lower-casing follows the process's default locale: under a
// Turkish locale "I" lower-cases to a dotless i. ICU takes the locale from
// the environment even when the C library lacks it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/rtl/LocaleCase.h"

namespace {

// Set before anything asks ICU for its default locale.
const bool kTurkish = setenv("LC_ALL", "tr_TR.UTF-8", 1) == 0;

TEST(LocaleCaseTurkish, CapitalIHasNoDot) {
  ASSERT_TRUE(kTurkish);
  EXPECT_EQ(rtl::AnsiLowerCase(u"TIME"), u"t\u0131me");
  EXPECT_EQ(rtl::AnsiLowerCase(u"T\u0130ME"), u"time");
  EXPECT_FALSE(rtl::AnsiSameText(u"TIME", u"time"));
  EXPECT_TRUE(rtl::AnsiSameText(u"T\u0130ME", u"time"));
}

}  // namespace
