#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Lib/UtilDB.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"

namespace {

using rtl::Variant;

std::string U8(const std::u16string& text) { return rtl::Utf16ToUtf8(text); }

const rtl::CodePage& Cp1252() {
  static const rtl::CodePage page("windows-1252");
  return page;
}

const rtl::CodePage& Utf8() {
  static const rtl::CodePage page("UTF-8");
  return page;
}

rtl::TFormatSettings CommaSettings() {
  rtl::TFormatSettings settings;
  settings.DecimalSeparator = u',';
  settings.DateFormat = "%d/%m/%Y";
  settings.TimeFormat = "%H:%M:%S";
  return settings;
}

std::u16string Sql1252(const Variant& value) {
  return TUtilDB::ParamToSql(value, Cp1252(), rtl::TFormatSettings{});
}

TEST(StringToSql, EscapesExactlySevenCharacters) {
  static const struct {
    std::u16string input;
    std::u16string expected;
  } cases[] = {
      {u"", u""},
      {u"plain text", u"plain text"},
      {u"O'Brien", u"O\\'Brien"},
      {u"say \"hi\"", u"say \\\"hi\\\""},
      {u"a\r\nb", u"a\\r\\nb"},
      {u"back\\slash", u"back\\\\slash"},
      {std::u16string(u"nul\0x", 5), u"nul\\0x"},
      {u"\x1a", u"\\Z"},
      {u"\\'", u"\\\\\\'"},
      {u"100% of a_b", u"100% of a_b"},
      {u"\t\b\x1b\x7f`", u"\t\b\x1b\x7f`"},
      {u"]^\u00e9\u20ac\uffff", u"]^\u00e9\u20ac\uffff"},
      {u"\U0001F600", u"\U0001F600"},
      {u"\xd800 lone \xdc00", u"\xd800 lone \xdc00"},
      {std::u16string(u"\0\0", 2), u"\\0\\0"},
  };
  for (const auto& c : cases) EXPECT_EQ(TUtilDB::StringToSql(c.input), c.expected) << U8(c.input);
}

TEST(StringToSql, EveryCodeUnitBelowTheBackslashIsEscapedOrKept) {
  for (char16_t c = 0; c <= 0x5C; ++c) {
    const std::u16string out = TUtilDB::StringToSql(std::u16string(1, c));
    const bool escaped =
        c == 0 || c == 0x0A || c == 0x0D || c == 0x1A || c == u'"' || c == u'\'' || c == u'\\';
    EXPECT_EQ(out.size(), escaped ? 2u : 1u) << int(c);
    if (escaped) {
      EXPECT_EQ(out[0], u'\\') << int(c);
    }
  }
}

TEST(StringToSql, LargeInputs) {
  const std::u16string plain(10 * 1024 * 1024, u'a');
  EXPECT_EQ(TUtilDB::StringToSql(plain), plain);
  const std::u16string quotes(10 * 1024 * 1024, u'\'');
  const std::u16string escaped = TUtilDB::StringToSql(quotes);
  ASSERT_EQ(escaped.size(), quotes.size() * 2);
  EXPECT_EQ(escaped.substr(0, 4), u"\\'\\'");
  EXPECT_EQ(escaped.substr(escaped.size() - 2), u"\\'");
}

TEST(FloatToStrEx, GeneralFormatWithFifteenDigits) {
  static const struct {
    double value;
    const char* expected;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-2.5, "-2.5"},
      {1234.5, "1234.5"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {0.00012345, "0.00012345"},
      {0.000012345, "1.2345E-5"},
      {999999999999999, "999999999999999"},
      {1e15, "1E15"},
      {1234567890123456, "1.23456789012346E15"},
      {-1e15, "-1E15"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {static_cast<double>(0.1f), "0.100000001490116"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},
      {100, "100"},
      {123456789012345.6, "123456789012346"},
      {99999999999999.95, "100000000000000"},  // the double is ...99.953125
      // Exactly ...0774999099..: 18 digits give ...07750, which then rounds up.
      {193.6788761970775, "193.678876197078"},
      {999999999999999.5, "1E15"},  // carry through every digit
      {9.9999999999999995, "10"},
      {0.99999999999999999, "1"},
      {1e-4 * 0.99999999999999999, "0.0001"},
      {1e22, "1E22"},
      {1.5e300, "1.5E300"},
      // Rounding up would pass the largest double: those digits are cut.
      {1.7976931348623157e308, "1.79769313486231E308"},
      {-1.7976931348623157e308, "-1.79769313486231E308"},
      {1.7976931348623155e308, "1.79769313486231E308"},
      {1.797693134862315e308, "1.79769313486231E308"},
      {1.797693134862305e308, "1.7976931348623E308"},
      {9.9999999999999995e307, "1E308"},
      {2.2250738585072014e-308, "2.2250738585072E-308"},
      {4.9406564584124654e-324, "4.94065645841247E-324"},
      {12345.678, "12345.678"},
      {1e-3, "0.001"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(TUtilDB::FloatToStrEx(c.value)), c.expected) << c.value;
}

TEST(FormatNumber, PadsOnTheLeftAndNeverCuts) {
  EXPECT_EQ(TUtilDB::FormatNumber(5, 2), u"05");
  EXPECT_EQ(TUtilDB::FormatNumber(7, 0), u"7");
  EXPECT_EQ(TUtilDB::FormatNumber(2024, 2), u"2024");
  EXPECT_EQ(TUtilDB::FormatNumber(0, 4), u"0000");
  EXPECT_EQ(TUtilDB::FormatNumber(65535, 8), u"00065535");
  EXPECT_EQ(TUtilDB::FormatNumber(1, 300), std::u16string(299, u'0') + u"1");
}

TEST(SqlDates, DateTimeToSqlDateEx) {
  const double kMs = 1.0 / 86400000;
  static const struct {
    double value;
    const char* expected;
  } cases[] = {
      {45366, "2024-03-15"},
      {45366.5, "2024-03-15 12:00:00"},
      {45366.75 + 30.0 / 86400, "2024-03-15 18:00:30"},
      {0, "0000-00-00"},
      {0.5, "0000-00-00 12:00:00"},
      {-0.5, "0000-00-00 12:00:00"},
      {1, "1899-12-31"},
      {-1, "1899-12-29"},
      {-1.25, "1899-12-29 06:00:00"},
      {2, "1900-01-01"},
      {2958465, "9999-12-31"},
      {2958466, "10000-01-01"},
      {-693593, "0001-01-01"},
      {-693594, "0000-00-00"},
      {-1e9 - 0.5, "0000-00-00 12:00:00"},
      {1e9, "2739807-01-02"},
      // Less than half a millisecond before midnight: the next day at 00:00:00.
      {45366 - 0.4 * kMs, "2024-03-15 00:00:00"},
      {45366 + 0.4 * kMs, "2024-03-15 00:00:00"},
      // Milliseconds are dropped, not rounded into the seconds.
      {45366.5 + 999 * kMs, "2024-03-15 12:00:00"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(U8(TUtilDB::DateTimeToSqlDateEx(c.value)), c.expected) << c.value;
}

TEST(SqlDates, FormatSqlDateAndTime) {
  const double noon_999 = rtl::EncodeDateTime(2024, 1, 5, 12, 0, 0, 999);
  EXPECT_EQ(TUtilDB::FormatSqlDate(noon_999), u"2024-01-05");
  EXPECT_EQ(TUtilDB::FormatSqlTime(noon_999), u"12:00:00");
  EXPECT_EQ(TUtilDB::FormatSqlTime(rtl::EncodeTime(23, 59, 59, 999)), u"23:59:59");
  EXPECT_EQ(TUtilDB::FormatSqlTime(rtl::EncodeTime(1, 2, 3, 0)), u"01:02:03");
  EXPECT_EQ(TUtilDB::FormatSqlDate(rtl::EncodeDate(12, 3, 4)), u"0012-03-04");
  EXPECT_EQ(TUtilDB::FormatSqlDate(-700000), u"0000-00-00");
}

TEST(SqlDates, UndecodableValuesFail) {
  for (const double value :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), 1e300})
    EXPECT_THROW(TUtilDB::DateTimeToSqlDateEx(value), rtl::EConvertError) << value;
}

TEST(ParamToSql, EveryKindCode) {
  static const struct {
    Variant value;
    std::u16string expected;
  } cases[] = {
      {Variant(), u"NULL"},
      {Variant::Null(), u"NULL"},
      {Variant::FromSmallint(-32768), u"-32768"},
      {Variant(std::int32_t{-5}), u"-5"},
      {Variant(std::int32_t{2147483647}), u"2147483647"},
      {Variant::FromByte(255), u"255"},
      {Variant::FromSingle(0.1f), u"0.100000001490116"},
      {Variant(1234.5), u"1234.5"},
      {Variant(1e-5), u"1E-5"},
      {Variant(rtl::Currency::FromCount(25000)), u"2.5"},
      {Variant(rtl::Currency::FromCount(-1)), u"-0.0001"},
      {Variant::FromDateTime(45366), u"'2024-03-15'"},
      {Variant::FromDateTime(0.5), u"'0000-00-00 12:00:00'"},
      {Variant::FromDateTime(0), u"'0000-00-00'"},
      {Variant(true), u"'Y'"},
      {Variant(false), u"'N'"},
      {Variant::FromOleStr(u"O'Brien"), u"'O\\'Brien'"},
      {Variant::FromDecimal({true, 2, 0, 12345}), u"'-123.45'"},
      {Variant::FromDecimal({false, 28, 0xFFFFFFFF, ~0ull}), u"'7.9228162514264337593543950335'"},
      {Variant::FromDecimal({false, 3, 0, 1500}), u"'1.5'"},
      {Variant::FromShortInt(-128), u"'-128'"},
      {Variant::FromWord(65535), u"'65535'"},
      {Variant::FromLongWord(4294967295u), u"'4294967295'"},
      {Variant(std::int64_t{5}), u"'5'"},
      {Variant(std::int64_t{42}), u"'42'"},
      {Variant(std::int64_t{-9223372036854775807 - 1}), u"'-9223372036854775808'"},
      {Variant::FromUInt64(18446744073709551615ull), u"'18446744073709551615'"},
      {Variant::FromAnsiString("caf\xe9 \\ '"), u"'caf\u00e9 \\\\ \\''"},
      {Variant(u""), u"''"},
      {Variant(u"a\r\nb"), u"'a\\r\\nb'"},
      {Variant(u"100%_"), u"'100%_'"},
      {Variant(std::u16string(u"a\0b", 3)), u"'a\\0b'"},
      {Variant(u"P\u00e3o \u20ac \u4e2d"), u"'P\u00e3o \u20ac ?'"},
      {Variant(u"\xd800"), u"'?'"},
      {Variant::ByteArray(std::string("A\0B", 3)), u"'A\\0B'"},
      {Variant::ByteArray(""), u"''"},
      {Variant::ByteArray("\x80\xe9'"), u"'\u20ac\u00e9\\''"},
      {Variant::Array(rtl::varInteger, {Variant(72), Variant(105)}), u"'Hi'"},
      {Variant::Array(rtl::varVariant, {Variant(u"65"), Variant(66.0), Variant(true == false)}),
       u"'AB\\0'"},
      // References: any kind, whatever it refers to, goes the text way.
      {Variant::ByRef(Variant(7)), u"'7'"},
      {Variant::ByRef(Variant(2.5)), u"'2.5'"},
      {Variant::ByRef(Variant(rtl::Currency::FromCount(15000))), u"'1.5'"},
      {Variant::ByRef(Variant(true)), u"'True'"},
      {Variant::ByRef(Variant(u"x'y")), u"'x\\'y'"},
      {Variant::ByRef(Variant()), u"''"},
      {Variant::ByRef(Variant::ByteArray("hi")), u"'hi'"},
      {Variant::ByRefVariant(Variant(5)), u"'5'"},
      {Variant::ByRefVariant(Variant::ByteArray("\n")), u"'\\n'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U8(Sql1252(c.value)), U8(c.expected)) << "kind " << c.value.VarType();
  }
}

TEST(ParamToSql, ValuesThatCannotBecomeTextOrBytesFail) {
  static const struct {
    Variant value;
    const char* message;
  } cases[] = {
      {Variant::FromError(3), "Could not convert variant of type (Error) into type (String)"},
      {Variant::FromObject(rtl::varDispatch, nullptr),
       "Could not convert variant of type (Dispatch) into type (String)"},
      {Variant::FromObject(rtl::varUnknown, nullptr),
       "Could not convert variant of type (Unknown) into type (String)"},
      {Variant::FromObject(rtl::varAny, nullptr),
       "Could not convert variant of type (Any) into type (String)"},
      {Variant::ByRef(Variant::Null()),
       "Could not convert variant of type (Null) into type (String)"},
      {Variant::Array(rtl::varUString, {Variant(u"A")}),
       "Could not convert variant of type (UnicodeString) into type (Byte)"},
      {Variant::Array(rtl::varVariant, {Variant::Null()}),
       "Could not convert variant of type (Null) into type (Byte)"},
      {Variant::Array(rtl::varVariant, {Variant::ByteArray("A")}),
       "Could not convert variant of type (Array Byte) into type (Byte)"},
      {Variant::Array(rtl::varVariant, {Variant::ByRef(Variant::ByteArray("A"))}),
       "Could not convert variant of type (Array Byte) into type (Byte)"},
      {Variant::Array(rtl::varError, {Variant::FromError(1)}),
       "Could not convert variant of type (Error) into type (Byte)"},
      {Variant::Array(rtl::varInteger, {Variant(256)}),
       "Overflow while converting variant of type (Integer) into type (Byte)"},
      {Variant::Array(rtl::varInteger, {Variant(-1)}),
       "Overflow while converting variant of type (Integer) into type (Byte)"},
  };
  for (const auto& c : cases)
    EXPECT_THROW_MSG(Sql1252(c.value), rtl::EVariantTypeCastError, c.message);
}

TEST(ParamToSql, DatesThatCannotBeDecodedFail) {
  EXPECT_THROW(Sql1252(Variant::FromDateTime(std::nan(""))), rtl::EConvertError);
  EXPECT_THROW(Sql1252(Variant::FromDateTime(1e300)), rtl::EConvertError);
}

TEST(ParamToSql, FloatsNeverCarryTheLocaleSeparatorButReferencedValuesDo) {
  const rtl::TFormatSettings comma = CommaSettings();
  EXPECT_EQ(TUtilDB::ParamToSql(Variant(1234.5), Cp1252(), comma), u"1234.5");
  EXPECT_EQ(TUtilDB::ParamToSql(Variant(rtl::Currency::FromCount(25000)), Cp1252(), comma), u"2.5");
  EXPECT_EQ(TUtilDB::ParamToSql(Variant::ByRef(Variant(1234.5)), Cp1252(), comma), u"'1234,5'");
  EXPECT_EQ(TUtilDB::ParamToSql(Variant::ByRef(Variant::FromDateTime(45366.5)), Cp1252(), comma),
            u"'15/03/2024 12:00:00'");
  EXPECT_EQ(TUtilDB::ParamToSql(Variant::FromDecimal({false, 1, 0, 15}), Cp1252(), comma),
            u"'1,5'");
  EXPECT_EQ(TUtilDB::ParamToSql(Variant::FromDateTime(45366.5), Cp1252(), comma),
            u"'2024-03-15 12:00:00'");
}

TEST(ParamToSql, TheCodePageDecidesWhatSurvivesTheDetour) {
  const rtl::TFormatSettings settings;
  const Variant text(u"P\u00e3o \u20ac \u4e2d \U0001F600 \xdc00");
  EXPECT_EQ(TUtilDB::ParamToSql(text, Cp1252(), settings), u"'P\u00e3o \u20ac ? ? ?'");
  EXPECT_EQ(TUtilDB::ParamToSql(text, Utf8(), settings),
            u"'P\u00e3o \u20ac \u4e2d \U0001F600 \ufffd'");
  // Bytes are read in the code page: invalid UTF-8 becomes U+FFFD.
  EXPECT_EQ(TUtilDB::ParamToSql(Variant::ByteArray("\xc3\xa7\xff"), Utf8(), settings),
            u"'\u00e7\ufffd'");
  EXPECT_EQ(TUtilDB::ParamToSql(Variant::ByteArray("\xc3\xa7"), Cp1252(), settings),
            u"'\u00c3\u00a7'");
  EXPECT_EQ(TUtilDB::ParamToSql(Variant::FromAnsiString("\xc3\xa7"), Utf8(), settings),
            u"'\u00e7'");
}

TEST(ParamToSql, LargeStringsWithEmbeddedNuls) {
  std::u16string text(10 * 1024 * 1024, u'x');
  text[0] = u'\0';
  text[text.size() / 2] = u'\'';
  text.back() = u'\\';
  const std::u16string literal = Sql1252(Variant(text));
  ASSERT_EQ(literal.size(), text.size() + 3 + 2);
  EXPECT_EQ(literal.substr(0, 4), u"'\\0x");
  EXPECT_EQ(literal.substr(literal.size() - 4), u"x\\\\'");
}

TEST(ValueToSql, SameAsParamToSql) {
  for (const Variant& value : {Variant(), Variant(3), Variant(u"it's"), Variant(true),
                               Variant(std::int64_t{5}), Variant::FromDateTime(1.5)})
    EXPECT_EQ(TUtilDB::ValueToSql(value), TUtilDB::ParamToSql(value));
}

}  // namespace
