#include "platform/rtl/Text.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exception.h"
#include "tests/support/ExpectThrow.h"

namespace {

using rtl::TryStrToInt;

TEST(Text, TrimDropsControlsAndBlanksOnly) {
  EXPECT_EQ(rtl::Trim(u" \t\r\n 789 \x01"), u"789");
  EXPECT_EQ(rtl::Trim(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");  // NBSP is above 32
  EXPECT_EQ(rtl::Trim(u"   "), u"");
}

TEST(Text, AsciiCasingLeavesOtherLettersAlone) {
  EXPECT_EQ(rtl::AsciiUpperCase(u"pracel.exe \u00e7"), u"PRACEL.EXE \u00e7");
  EXPECT_EQ(rtl::AsciiLowerCase(u"ABC\u00c7"), u"abc\u00c7");
}

TEST(Text, Utf8RoundTripAndInvalidBytes) {
  EXPECT_EQ(rtl::Utf16ToUtf8(u"Aten\u00e7\u00e3o"), "Aten\xc3\xa7\xc3\xa3o");
  EXPECT_EQ(rtl::Utf8ToUtf16("a\xff" "b"), u"a\uFFFD" u"b");
  EXPECT_EQ(rtl::Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
  EXPECT_EQ(rtl::Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Text, StrToIntReadsAsThePlatform) {
  static const struct {
    const char16_t* text;
    std::optional<int32_t> value;
  } cases[] = {
      {u"12", 12},          {u"0", 0},           {u"-7", -7},
      {u"+7", 7},           {u"  42", 42},       {u"$ff", 255},
      {u"0x10", 16},        {u"$FFFFFFFF", -1},  {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN},
      {u"2147483648", std::nullopt},             {u"99999999999", std::nullopt},
      {u"", std::nullopt},  {u"abc", std::nullopt}, {u"12 ", std::nullopt},
      {u"1.5", std::nullopt}, {u"-", std::nullopt}, {u"$", std::nullopt},
      {u"$1G", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(TryStrToInt(c.text), c.value) << rtl::Utf16ToUtf8(c.text);
}

TEST(Text, StrToIntFailsWithTheConversionMessage) {
  EXPECT_THROW_MSG(rtl::StrToInt(u"$G1"), rtl::EConvertError, "'$G1' is not a valid integer value");
}

TEST(Exception, OSErrorTexts) {
  EXPECT_EQ(rtl::OSError(0).Message(), u"A call to an OS function failed");
  const rtl::EOSError error = rtl::OSError(2);
  EXPECT_EQ(error.Code(), 2);
  EXPECT_EQ(error.Message(), u"System Error.  Code: 2.\r\nNo such file or directory");
}

}  // namespace
