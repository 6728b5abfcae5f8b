#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/NumberFormat.h"
#include "platform/rtl/Variant.h"
#include "rtl/private_locale.h"

namespace {

// Before any test reads the process-wide settings.
const bool kBrazilian = testlocale::UseBrazilianLocale();

TEST(FormatSettings, ProcessSettingsComeFromTheUsersLocale) {
  if (!kBrazilian) GTEST_SKIP() << "pt_BR locale sources missing (locales package)";
  EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, u',');
  EXPECT_EQ(rtl::FloatToStr(1234.5), u"1234,5");
  EXPECT_EQ(rtl::VarToUnicodeString(rtl::Variant(-0.25)), u"-0,25");
  EXPECT_EQ(rtl::VarToUnicodeString(rtl::Variant::FromDateTime(45366.5)), u"15/03/2024 12:00:00");
  EXPECT_EQ(rtl::VarToInt32(rtl::Variant(u"2,5")), 2);
}

TEST(FormatSettings, FromLocale) {
  const rtl::TFormatSettings c = rtl::TFormatSettings::FromLocale("C");
  EXPECT_EQ(c.DecimalSeparator, u'.');
  EXPECT_EQ(c.DateFormat, "%m/%d/%y");
  EXPECT_EQ(c.TimeFormat, "%H:%M:%S");
  EXPECT_EQ(rtl::DateTimeToStr(45366.75, c), u"03/15/24 18:00:00");

  const rtl::TFormatSettings missing = rtl::TFormatSettings::FromLocale("xx_NOWHERE.UTF-8");
  EXPECT_EQ(missing.DecimalSeparator, u'.');

  if (!kBrazilian) GTEST_SKIP() << "pt_BR locale sources missing (locales package)";
  const rtl::TFormatSettings brazil = rtl::TFormatSettings::FromLocale("pt_BR.UTF-8");
  EXPECT_EQ(brazil.DecimalSeparator, u',');
  EXPECT_EQ(brazil.DateFormat, "%d/%m/%Y");
  EXPECT_EQ(rtl::DateTimeToStr(45366, brazil), u"15/03/2024");
}

}  // namespace
