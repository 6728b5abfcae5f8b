// Locale-aware lower-casing under the default locale of an environment
// without locale settings (ICU's en_US_POSIX).
#include "platform/rtl/LocaleCase.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Set before anything asks ICU for its default locale.
const bool kNoLocale =
    unsetenv("LC_ALL") == 0 && unsetenv("LC_MESSAGES") == 0 && unsetenv("LANG") == 0;

TEST(LocaleCase, LowerCasesEveryLetterOfTheText) {
  ASSERT_TRUE(kNoLocale);
  const struct {
    const char16_t* text;
    const char16_t* lower;
  } cases[] = {
      {u"", u""},
      {u"DateTime", u"datetime"},
      {u"P\u00c3O DE A\u00c7\u00DACAR 1/2", u"p\u00e3o de a\u00e7\u00facar 1/2"},
      {u"\u0394\u0395\u039b\u03a4\u0391", u"\u03b4\u03b5\u03bb\u03c4\u03b1"},
      {u"TIME", u"time"},
      // Capital I with dot above becomes i and a combining dot: one unit more.
      {u"\u0130X", u"i\u0307x"},
      {u"\U0001D400\U00010400", u"\U0001D400\U00010428"},  // outside the BMP
      {u"\xd800 lone", u"\xd800 lone"},
  };
  for (const auto& c : cases) EXPECT_EQ(rtl::AnsiLowerCase(c.text), c.lower);
}

TEST(LocaleCase, SameTextIgnoresCase) {
  EXPECT_TRUE(rtl::AnsiSameText(u"Id_Cliente", u"ID_CLIENTE"));
  EXPECT_TRUE(rtl::AnsiSameText(u"A\u00c7\u00c3O", u"a\u00e7\u00e3o"));
  EXPECT_FALSE(rtl::AnsiSameText(u"id", u"id "));
  EXPECT_TRUE(rtl::AnsiSameText(u"", u""));
}

}  // namespace
