#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, AsciiLocaleStandsInAsWindows1252) {
  EXPECT_EQ(rtl::AnsiCodePageNameForCodeset("ANSI_X3.4-1968"), "windows-1252");
  EXPECT_EQ(rtl::AnsiCodePageNameForCodeset("UTF-8"), "UTF-8");
  EXPECT_EQ(rtl::AnsiCodePageNameForCodeset("ISO-8859-15"), "ISO-8859-15");
}

TEST(CodePage, Windows1252ReplacesMissingCharactersWithQuestionMark) {
  const rtl::CodePage cp("windows-1252");
  EXPECT_FALSE(cp.IsUtf8());
  EXPECT_EQ(cp.Encode(u"P\u00e3o \u20ac \u4e2d"), "P\xe3o \x80 ?");
  EXPECT_EQ(cp.Encode(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(cp.Decode("P\xe3o \x80"), u"P\u00e3o \u20ac");
}

TEST(CodePage, Utf8) {
  const rtl::CodePage cp("UTF-8");
  EXPECT_TRUE(cp.IsUtf8());
  EXPECT_EQ(cp.Encode(u"\u00e7\u4e2d"), "\xc3\xa7\xe4\xb8\xad");
  EXPECT_EQ(cp.Decode("\xc3\xa7"), u"\u00e7");
}

TEST(CodePage, UnknownNameFallsBackTo1252) {
  const rtl::CodePage cp("no-such-codeset");
  EXPECT_EQ(cp.Encode(u"\u00e9"), "\xe9");
}

}  // namespace
