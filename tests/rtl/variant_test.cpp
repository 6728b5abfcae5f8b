#include "platform/rtl/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"

namespace {

using rtl::Variant;

rtl::TFormatSettings DotSettings() { return rtl::TFormatSettings{}; }

rtl::TFormatSettings CommaSettings() {
  rtl::TFormatSettings settings;
  settings.DecimalSeparator = u',';
  return settings;
}

TEST(Variant, ConstructionGivesTheKindCodes) {
  static const struct {
    Variant value;
    rtl::TVarType type;
  } cases[] = {
      {Variant(), 0x0000},
      {Variant::Null(), 0x0001},
      {Variant::FromSmallint(-2), 0x0002},
      {Variant(std::int32_t{7}), 0x0003},
      {Variant::FromSingle(0.1f), 0x0004},
      {Variant(1.5), 0x0005},
      {Variant(rtl::Currency::FromCount(1)), 0x0006},
      {Variant::FromDateTime(45366.5), 0x0007},
      {Variant::FromOleStr(u"x"), 0x0008},
      {Variant::FromObject(rtl::varDispatch, nullptr), 0x0009},
      {Variant::FromError(5), 0x000A},
      {Variant(true), 0x000B},
      {Variant::FromObject(rtl::varUnknown, nullptr), 0x000D},
      {Variant::FromDecimal({false, 2, 0, 150}), 0x000E},
      {Variant::FromShortInt(-8), 0x0010},
      {Variant::FromByte(255), 0x0011},
      {Variant::FromWord(65535), 0x0012},
      {Variant::FromLongWord(4000000000u), 0x0013},
      {Variant(std::int64_t{5}), 0x0014},
      {Variant::FromUInt64(1), 0x0015},
      {Variant::FromAnsiString("ab"), 0x0100},
      {Variant::FromObject(rtl::varAny, nullptr), 0x0101},
      {Variant(u"text"), 0x0102},
      {Variant(std::u16string(u"text")), 0x0102},
      {Variant::ByteArray("AB"), 0x2011},
      {Variant::Array(rtl::varVariant, {Variant(1), Variant(u"x")}), 0x200C},
      {Variant::ByRef(Variant(1)), 0x4003},
      {Variant::ByRef(Variant::ByteArray("A")), 0x6011},
      {Variant::ByRef(Variant::ByRef(Variant(1.5))), 0x4005},
      {Variant::ByRefVariant(Variant(1)), 0x400C},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.VarType(), c.type) << c.type;
  EXPECT_TRUE(Variant::Null().IsNull());
  EXPECT_FALSE(Variant::Null().IsEmpty());
  EXPECT_TRUE(Variant().IsEmpty());
  EXPECT_FALSE(Variant(0).IsNull());
}

TEST(Variant, ReferencesLeadToTheirTarget) {
  const Variant ref = Variant::ByRef(Variant(u"x"));
  EXPECT_TRUE(ref.IsByRef());
  EXPECT_EQ(ref.Target().VarType(), rtl::varUString);
  const Variant array_ref = Variant::ByRefVariant(Variant::ByteArray("AB"));
  EXPECT_TRUE(array_ref.Target().IsArray());
  EXPECT_EQ(array_ref.ArrayElements().size(), 2u);
  EXPECT_TRUE(Variant(1).ArrayElements().empty());
}

TEST(Variant, InvalidArraysAndDecimalsAreRejected) {
  EXPECT_THROW_MSG(Variant::Array(rtl::varByte, {Variant::FromByte(1), Variant(2)}),
                   rtl::EVariantTypeCastError,
                   "Could not convert variant of type (Integer) into type (Byte)");
  EXPECT_EQ(Variant::Array(rtl::varVariant, {Variant::ByteArray("A")}).ArrayElements().size(), 1u);
  EXPECT_THROW(Variant::Array(rtl::varNull, {}), rtl::EVariantTypeCastError);
  EXPECT_THROW(Variant::Array(rtl::varByte | rtl::varArray, {}), rtl::EVariantTypeCastError);
  EXPECT_THROW(Variant::FromDecimal({false, 29, 0, 1}), rtl::EVariantTypeCastError);
  EXPECT_THROW(Variant::FromObject(rtl::varInteger, nullptr), rtl::EVariantTypeCastError);
}

TEST(Variant, EveryKindHasItsName) {
  static const struct {
    rtl::TVarType type;
    const char* name;
  } cases[] = {
      {0x0000, "Empty"},      {0x0001, "Null"},          {0x0002, "Smallint"},
      {0x0003, "Integer"},    {0x0004, "Single"},        {0x0005, "Double"},
      {0x0006, "Currency"},   {0x0007, "Date"},          {0x0008, "OleStr"},
      {0x0009, "Dispatch"},   {0x000A, "Error"},         {0x000B, "Boolean"},
      {0x000C, "Variant"},    {0x000D, "Unknown"},       {0x000E, "Decimal"},
      {0x0010, "ShortInt"},   {0x0011, "Byte"},          {0x0012, "Word"},
      {0x0013, "Cardinal"},   {0x0014, "Int64"},         {0x0015, "UInt64"},
      {0x0100, "String"},     {0x0101, "Any"},           {0x0102, "UnicodeString"},
      {0x2011, "Array Byte"}, {0x200C, "Array Variant"}, {0x4003, "Integer"},
      {0x000F, "$000F"},
  };
  for (const auto& c : cases) EXPECT_EQ(rtl::Utf16ToUtf8(rtl::VarTypeAsText(c.type)), c.name);
}

TEST(Variant, VarToInt32FollowsTheFlagRules) {
  static const struct {
    Variant value;
    std::int32_t expected;
  } cases[] = {
      {Variant(1), 1},
      {Variant(0), 0},
      {Variant(256), 256},
      {Variant(-7), -7},
      {Variant(std::int64_t{2147483647}), 2147483647},
      {Variant::FromSmallint(-300), -300},
      {Variant::FromShortInt(-1), -1},
      {Variant::FromByte(200), 200},
      {Variant::FromWord(65535), 65535},
      {Variant::FromLongWord(7), 7},
      {Variant::FromUInt64(9), 9},
      {Variant(true), -1},
      {Variant(false), 0},
      {Variant(2.5), 2},
      {Variant(3.5), 4},
      {Variant(-2.5), -2},
      {Variant(-3.5), -4},
      {Variant(2.4999), 2},
      {Variant(2.5001), 3},
      {Variant::FromSingle(1.5f), 2},
      {Variant::FromDateTime(45366.5), 45366},
      {Variant(rtl::Currency::FromCount(25000)), 2},
      {Variant(rtl::Currency::FromCount(35000)), 4},
      {Variant(rtl::Currency::FromCount(-25001)), -3},
      {Variant::FromDecimal({false, 1, 0, 25}), 2},
      {Variant::FromDecimal({true, 1, 0, 35}), -4},
      {Variant(u"1"), 1},
      {Variant(u"  42"), 42},
      {Variant(u"-5"), -5},
      {Variant(u"$10"), 16},
      {Variant(u"2.5"), 2},
      {Variant(u"3.5"), 4},
      {Variant(u"1e3"), 1000},
      {Variant(u"True"), -1},
      {Variant(u"TRUE"), -1},
      {Variant(u"false"), 0},
      {Variant::FromOleStr(u"fAlSe"), 0},
      {Variant::FromAnsiString("7"), 7},
      {Variant::ByRef(Variant(5)), 5},
      {Variant::ByRefVariant(Variant(u"6")), 6},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rtl::VarToInt32(c.value, DotSettings()), c.expected) << c.value.VarType();
}

TEST(Variant, VarToInt32Failures) {
  static const struct {
    Variant value;
    const char* message;
  } cases[] = {
      {Variant::Null(), "Could not convert variant of type (Null) into type (Integer)"},
      {Variant(), "Could not convert variant of type (Empty) into type (Integer)"},
      {Variant(u"S"), "Could not convert variant of type (UnicodeString) into type (Integer)"},
      {Variant(u"N"), "Could not convert variant of type (UnicodeString) into type (Integer)"},
      {Variant(u""), "Could not convert variant of type (UnicodeString) into type (Integer)"},
      {Variant(u"1,5"), "Could not convert variant of type (UnicodeString) into type (Integer)"},
      {Variant(u"yes"), "Could not convert variant of type (UnicodeString) into type (Integer)"},
      {Variant::FromOleStr(u"S"), "Could not convert variant of type (OleStr) into type (Integer)"},
      {Variant::FromAnsiString("S"),
       "Could not convert variant of type (String) into type (Integer)"},
      {Variant(std::nan("")), "Could not convert variant of type (Double) into type (Integer)"},
      {Variant::FromError(1), "Could not convert variant of type (Error) into type (Integer)"},
      {Variant::ByteArray("A"),
       "Could not convert variant of type (Array Byte) into type (Integer)"},
      {Variant::ByRef(Variant::Null()),
       "Could not convert variant of type (Null) into type (Integer)"},
  };
  for (const auto& c : cases)
    EXPECT_THROW_MSG(rtl::VarToInt32(c.value, DotSettings()), rtl::EVariantTypeCastError,
                     c.message);
}

TEST(Variant, VarToInt32Overflow) {
  for (const Variant& value :
       {Variant(std::int64_t{2147483648}), Variant(-2147483649.0), Variant(1e300),
        Variant(std::numeric_limits<double>::infinity()), Variant::FromUInt64(~0ull),
        Variant(u"99999999999"), Variant(u"1e30")})
    EXPECT_THROW(rtl::VarToInt32(value, DotSettings()), rtl::EVariantOverflowError);
  EXPECT_THROW_MSG(rtl::VarToInt32(Variant(1e10), DotSettings()), rtl::EVariantOverflowError,
                   "Overflow while converting variant of type (Double) into type (Integer)");
}

TEST(Variant, TextNumbersUseTheDecimalSeparatorOfTheSettings) {
  EXPECT_EQ(rtl::VarToInt32(Variant(u"2,5"), CommaSettings()), 2);
  EXPECT_EQ(rtl::VarToInt32(Variant(u"3,5"), CommaSettings()), 4);
  EXPECT_THROW(rtl::VarToInt32(Variant(u"2.5"), CommaSettings()), rtl::EVariantTypeCastError);
  EXPECT_EQ(rtl::VarToDouble(Variant(u"-1,25"), CommaSettings()), -1.25);
}

TEST(Variant, VarToInt64KeepsLargeTextIntegersExact) {
  EXPECT_EQ(rtl::VarToInt64(Variant(u"9007199254740993"), DotSettings()), 9007199254740993);
  EXPECT_EQ(rtl::VarToInt64(Variant::FromUInt64(9223372036854775807ull), DotSettings()),
            9223372036854775807);
  EXPECT_THROW(rtl::VarToInt64(Variant::FromUInt64(9223372036854775808ull), DotSettings()),
               rtl::EVariantOverflowError);
}

TEST(Variant, VarToCurrency) {
  static const struct {
    Variant value;
    std::int64_t count;
  } cases[] = {
      {Variant(0.03125), 312},
      {Variant(0.09375), 938},
      {Variant(15.9), 159000},
      {Variant(3), 30000},
      {Variant(true), -10000},
      {Variant(rtl::Currency::FromCount(7)), 7},
      {Variant::FromDecimal({false, 6, 0, 1234565}), 12346},
      {Variant::FromDecimal({true, 2, 0, 150}), -15000},
      {Variant(u"18.5"), 185000},
      {Variant(u"1.00005"), 10001},
      {Variant::FromDateTime(1.5), 15000},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rtl::VarToCurrency(c.value, DotSettings()).Count(), c.count) << c.value.VarType();

  EXPECT_THROW_MSG(rtl::VarToCurrency(Variant::Null()), rtl::EVariantTypeCastError,
                   "Could not convert variant of type (Null) into type (Currency)");
  EXPECT_THROW_MSG(rtl::VarToCurrency(Variant(u"abc"), DotSettings()), rtl::EVariantTypeCastError,
                   "Could not convert variant of type (UnicodeString) into type (Currency)");
  EXPECT_THROW_MSG(rtl::VarToCurrency(Variant(1e300)), rtl::EVariantOverflowError,
                   "Overflow while converting variant of type (Double) into type (Currency)");
  EXPECT_THROW(rtl::VarToCurrency(Variant(std::int64_t{1} << 62)), rtl::EVariantOverflowError);
  EXPECT_THROW(rtl::VarToCurrency(Variant(std::nan(""))), rtl::EVariantTypeCastError);
}

TEST(Variant, VarToDoubleAndDateTime) {
  EXPECT_EQ(rtl::VarToDouble(Variant(rtl::Currency::FromCount(25000))), 2.5);
  EXPECT_EQ(rtl::VarToDouble(Variant::FromSingle(0.1f)), static_cast<double>(0.1f));
  EXPECT_EQ(rtl::VarToDouble(Variant::FromDecimal({true, 3, 0, 1500})), -1.5);
  EXPECT_EQ(rtl::VarToDateTime(Variant::FromDateTime(45366.5)), 45366.5);
  EXPECT_EQ(rtl::VarToDateTime(Variant(2)), 2);
  EXPECT_THROW_MSG(rtl::VarToDateTime(Variant(u"2024-03-15")), rtl::EVariantTypeCastError,
                   "Could not convert variant of type (UnicodeString) into type (Date)");
  EXPECT_THROW_MSG(rtl::VarToDouble(Variant::Null()), rtl::EVariantTypeCastError,
                   "Could not convert variant of type (Null) into type (Double)");
}

}  // namespace
