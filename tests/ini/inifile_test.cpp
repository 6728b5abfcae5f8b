#include "platform/ini/IniFile.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "platform/rtl/Text.h"

namespace {

namespace fs = std::filesystem;

// A private folder under the system's temporary folder, removed with its contents.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "cz-ini-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

  std::u16string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
    return rtl::Utf8ToUtf16((path_ / name).string());
  }

 private:
  fs::path path_;
};

std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

struct Case {
  const char* name;
  std::string file;
  std::u16string section;
  std::u16string key;
  std::u16string expected;
  const char* codePage = "windows-1252";
};

const std::string kLongLine = "[ip]\nlocal=" + std::string(100 * 1024, 'x') + "\nnext=1\n";

const Case kCases[] = {
    {"Plain", "[ip]\nlocal=10.0.0.5:3307\n", u"ip", u"local", u"10.0.0.5:3307"},
    {"SectionAndKeyIgnoreCase", "[IP]\nLoCaL=srv\n", u"ip", u"LOCAL", u"srv"},
    {"NonAsciiNamesMatchExactly", "[S\xc9\x43\xc3O]\nk=v\n", u"s\u00e9c\u00e3o", u"k", u"fb"},
    {"BlanksAroundKeyAndValueDropped", "  [ ip ] \n \t local \t=  srv 1 \t\n", u"ip", u"local",
     u"srv 1"},
    {"BlanksAroundLookupNamesDropped", "[ip]\nlocal=srv\n", u" ip ", u"\tlocal ", u"srv"},
    {"DoubleQuotesStripped", "[ip]\nlocal=  \" srv \"  \n", u"ip", u"local", u" srv "},
    {"SingleQuotesStripped", "[ip]\nlocal='srv'\n", u"ip", u"local", u"srv"},
    {"OnlyOnePairStripped", "[ip]\nlocal=\"\"srv\"\"\n", u"ip", u"local", u"\"srv\""},
    {"MismatchedQuotesKept", "[ip]\nlocal=\"srv'\n", u"ip", u"local", u"\"srv'"},
    {"LoneQuoteKept", "[ip]\nlocal=\"\n", u"ip", u"local", u"\""},
    {"EmptyQuotesGiveEmpty", "[ip]\nsenha=\"\"\n", u"ip", u"senha", u""},
    {"EmptyValueIsNotTheFallback", "[ip]\nsenha=\n", u"ip", u"senha", u""},
    {"BlankValueIsNotTheFallback", "[ip]\nsenha=   \n", u"ip", u"senha", u""},
    {"MissingKeyGivesFallback", "[ip]\nlocal=srv\n", u"ip", u"database", u"fb"},
    {"MissingSectionGivesFallback", "[ip]\nlocal=srv\n", u"FilialMatriz", u"local", u"fb"},
    {"ValueKeepsLaterEquals", "[ip]\nsenha=a=b==\n", u"ip", u"senha", u"a=b=="},
    {"FirstKeyWins", "[ip]\nlocal=one\nLOCAL=two\n", u"ip", u"local", u"one"},
    {"FirstSectionWins", "[ip]\nlocal=one\n[IP]\nlocal=two\n", u"ip", u"local", u"one"},
    {"KeyOnlyInLaterDuplicateSectionIsNotSeen", "[ip]\nlocal=one\n[ip]\ndatabase=db\n", u"ip",
     u"database", u"fb"},
    {"KeysStayInTheirSection", "[ip]\nlocal=a\n[FilialMatriz]\nCodFisica=12\n", u"ip", u"CodFisica",
     u"fb"},
    {"LinesWithoutEqualsIgnored", "[ip]\nlocal\n; comment\nlocal=srv\n", u"ip", u"local", u"srv"},
    {"EntriesBeforeAnySectionIgnored", "local=srv\n[ip]\n", u"ip", u"local", u"fb"},
    {"UnclosedBracketIsNoSection", "[ip]\n[other\nlocal=srv\n", u"ip", u"local", u"srv"},
    {"TextAfterClosingBracketIgnored", "[ip] trailing\nlocal=srv\n", u"ip", u"local", u"srv"},
    {"CrLfLineEnds", "[a]\r\nk=1\r\n[ip]\r\nlocal=srv\r\n", u"ip", u"local", u"srv"},
    {"CrLineEnds", "[a]\rk=1\r[ip]\rlocal=srv\r", u"ip", u"local", u"srv"},
    {"NoFinalLineEnd", "[ip]\nlocal=srv", u"ip", u"local", u"srv"},
    {"ValueCutAt2047", "[ip]\nlocal=" + std::string(3000, 'a') + "\n", u"ip", u"local",
     std::u16string(2047, u'a')},
    {"ValueOf2047Kept", "[ip]\nlocal=" + std::string(2047, 'a') + "\n", u"ip", u"local",
     std::u16string(2047, u'a')},
    {"CutNeverSplitsASurrogatePair",
     "\xEF\xBB\xBF[ip]\nlocal=" + std::string(2046, 'a') + "\xF0\x9F\x98\x80\n", u"ip", u"local",
     std::u16string(2046, u'a')},
    {"HundredKilobyteLine", kLongLine, u"ip", u"next", u"1"},
    {"AnsiCodePage1252", "[ip]\nlocal=P\xe3o \x80\n", u"ip", u"local", u"P\u00e3o \u20ac"},
    {"AnsiCodePageUtf8", "[ip]\nlocal=P\xc3\xa3o\n", u"ip", u"local", u"P\u00e3o", "UTF-8"},
    {"Utf8ByteOrderMark", "\xEF\xBB\xBF[ip]\nlocal=P\xc3\xa3o\n", u"ip", u"local", u"P\u00e3o"},
    {"Utf16LeByteOrderMark", "\xFF\xFE" + Utf16Le(u"[ip]\r\nlocal=P\u00e3o \u4e2d\r\n"), u"ip",
     u"local", u"P\u00e3o \u4e2d"},
    {"Utf16LeOddLength", "\xFF\xFE" + Utf16Le(u"[ip]\nlocal=srv\n") + "\x41", u"ip", u"local",
     u"srv"},
    {"Utf16LeWithoutMarkIsNotUtf16", Utf16Le(u"[ip]\nlocal=srv\n"), u"ip", u"local", u"fb"},
    {"EmptyFile", "", u"ip", u"local", u"fb"},
    {"OnlyAByteOrderMark", "\xFF\xFE", u"ip", u"local", u"fb"},
    {"NulInKeyMatchesNothing", std::string("[ip]\nlo\0cal=1\nlocal=2\n", 22), u"ip", u"local",
     u"2"},
    {"ValueEndsAtNul", std::string("[ip]\nlocal=ab\0cd\n", 17), u"ip", u"local", u"ab"},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class IniFileCases : public testing::TestWithParam<Case> {};

TEST_P(IniFileCases, ReadString) {
  const Case& c = GetParam();
  const TempFolder folder;
  const rtl::CodePage codePage(c.codePage);
  const ini::TIniFile file(folder.Write("sistema_vorn.ini", c.file), codePage);
  EXPECT_EQ(file.ReadString(c.section, c.key, u"fb"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, IniFileCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(IniFile, FallbackIsCutLikeAValue) {
  const TempFolder folder;
  const ini::TIniFile file(folder.Write("empty.ini", ""));
  EXPECT_EQ(file.ReadString(u"ip", u"senha", u"5C08E71B9F6A0D3E2B47"), u"5C08E71B9F6A0D3E2B47");
  EXPECT_EQ(file.ReadString(u"ip", u"senha", u" a "), u" a ");
  EXPECT_EQ(file.ReadString(u"ip", u"senha", std::u16string(5000, u'z')),
            std::u16string(2047, u'z'));
}

TEST(IniFile, UnreadableFilesReadAsEmpty) {
  const TempFolder folder;
  folder.Write("real.ini", "[ip]\nlocal=srv\n");
  const std::u16string folderName = rtl::Utf8ToUtf16(folder.Path().string());
  const std::u16string names[] = {
      folderName + u"/missing.ini",
      folderName,                                                   // a folder
      folderName + u"/real.ini" + std::u16string(1, u'\0') + u"x",  // never cut at the NUL
      u"",
  };
  for (const std::u16string& name : names) {
    const ini::TIniFile file(name);
    EXPECT_EQ(file.ReadString(u"ip", u"local", u"fb"), u"fb") << rtl::Utf16ToUtf8(name);
  }
}

TEST(IniFile, BinaryGarbageNeverCrashes) {
  const TempFolder folder;
  std::mt19937 random(20240611);
  std::string bytes(256 * 1024, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  for (const std::string& prefix :
       {std::string(), std::string("\xFF\xFE"), std::string("\xEF\xBB\xBF")}) {
    const ini::TIniFile file(folder.Write("garbage.ini", prefix + bytes));
    EXPECT_EQ(file.ReadString(u"ip", u"local", u"fb"), u"fb");
  }
}

TEST(IniFile, ReadsTheFileOnceWhenConstructed) {
  const TempFolder folder;
  const std::u16string name = folder.Write("sistema_vorn.ini", "[ip]\nlocal=before\n");
  const ini::TIniFile file(name);
  folder.Write("sistema_vorn.ini", "[ip]\nlocal=after\n");
  EXPECT_EQ(file.ReadString(u"ip", u"local", u"fb"), u"before");
  EXPECT_EQ(ini::TIniFile(name).ReadString(u"ip", u"local", u"fb"), u"after");
}

}  // namespace
