// The literals under a user locale that writes a decimal comma.
#include <gtest/gtest.h>

#include "Lib/UtilDB.h"
#include "platform/rtl/FormatSettings.h"
#include "rtl/private_locale.h"

namespace {

// Before anything reads the process-wide settings.
const bool kBrazilian = testlocale::UseBrazilianLocale();

TEST(SqlLiteralsUnderADecimalCommaLocale, NumbersKeepTheDecimalPoint) {
  if (!kBrazilian) GTEST_SKIP() << "pt_BR locale sources missing (locales package)";
  ASSERT_EQ(rtl::FormatSettings().DecimalSeparator, u',');
  EXPECT_EQ(TUtilDB::FloatToStrEx(1234.5), u"1234.5");
  EXPECT_EQ(TUtilDB::FloatToStrEx(-1.5e-7), u"-1.5E-7");
  EXPECT_EQ(TUtilDB::ParamToSql(rtl::Variant(1234.5)), u"1234.5");
  EXPECT_EQ(TUtilDB::ValueToSql(rtl::Variant(rtl::Currency::FromCount(25000))), u"2.5");
  EXPECT_EQ(TUtilDB::ParamToSql(rtl::Variant::FromSingle(0.1f)), u"0.100000001490116");
  // Values that take the text way are written as the platform writes them.
  EXPECT_EQ(TUtilDB::ParamToSql(rtl::Variant::ByRef(rtl::Variant(1234.5))), u"'1234,5'");
}

}  // namespace
