#include "app/Criptografia.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"

namespace {

std::u16string Restore(const std::u16string& text) { return Criptografia(u"D", text, u"KWZ"); }

TEST(Criptografia, RestoresStoredForms) {
  static const struct {
    const char16_t* stored;
    const char16_t* plain;
  } cases[] = {
      {u"3CDD14DA0325CD64C651FD3CF168", u"Zelmora-Demo1"},
      {u"3cdd14da0325cd64c651fd3cf168", u"Zelmora-Demo1"},  // lower-case digits
      {u"3CDD14DA0325CD64C651FD3CF1687", u"Zelmora-Demo1"},  // odd: last digit ignored
      {u"3CD", u"\n"},      // one digit read as the only pair: (0xD ^ 'K') - 0x3C
      {u"0000", u"K"},      // 0x00 ^ 'K' = 0x4B, above the offset 0
      {u"4B00", u"\u00ff"},  // equal values give 255
  };
  for (const auto& c : cases) EXPECT_EQ(Restore(c.stored), c.plain) << rtl::Utf16ToUtf8(c.stored);
}

TEST(Criptografia, RestoringBadTextFailsWithTheGroup) {
  static const struct {
    const char16_t* stored;
    const char* message;
  } cases[] = {
      {u"", "'$' is not a valid integer value"},
      {u"3C", "'$' is not a valid integer value"},
      {u"A", "'$' is not a valid integer value"},
      {u"3CG1", "'$G1' is not a valid integer value"},
      {u"3C1 ", "'$1 ' is not a valid integer value"},
      {u"-1AB", "'$-1' is not a valid integer value"},
      {u"3CDD14XY", "'$XY' is not a valid integer value"},
  };
  for (const auto& c : cases) EXPECT_THROW_MSG(Restore(c.stored), rtl::EConvertError, c.message);
}

TEST(Criptografia, OnlyExactActionsSelectADirection) {
  for (const char16_t* acao : {u"e", u"d", u"", u"ED", u" E"})
    EXPECT_EQ(Criptografia(acao, u"3CDD14", u"KWZ"), u"") << rtl::Utf16ToUtf8(acao);
}

TEST(Criptografia, ScramblingWritesUpperCaseHexOfEvenLength) {
  const std::u16string empty = Criptografia(u"E", u"", u"KWZ");
  ASSERT_EQ(empty.size(), 2u);
  const std::u16string scrambled = Criptografia(u"E", u"senha \u00e7\u00fe", u"KWZ");
  EXPECT_EQ(scrambled.size(), 2u + 2 * 8);
  EXPECT_EQ(scrambled.find_first_not_of(u"0123456789ABCDEF"), std::u16string::npos);
  EXPECT_EQ(Restore(scrambled), u"senha \u00e7\u00fe");
  EXPECT_EQ(Embaralhar(u"Zelmora-Demo1", u"KWZ", 0x3C), u"3CDD14DA0325CD64C651FD3CF168");
}

TEST(Criptografia, EveryCharacterUpToFESurvivesForEveryOffset) {
  std::u16string plain;
  for (char16_t c = 1; c <= 0xFE; ++c) plain += c;
  for (int offset = 0; offset <= 255; ++offset)
    ASSERT_EQ(Restore(Embaralhar(plain, u"KWZ", static_cast<uint8_t>(offset))), plain) << offset;
}

TEST(Criptografia, NulAndFFComeBackAlike) {
  const std::u16string nul(1, u'\0');
  EXPECT_EQ(Restore(Embaralhar(nul, u"KWZ", 7)), Restore(Embaralhar(u"\u00ff", u"KWZ", 7)));
}

TEST(Criptografia, WrongKeyRestoresSomethingWithoutFailing) {
  const std::u16string stored = Embaralhar(u"segredo", u"KWZ", 99);
  EXPECT_NE(Criptografia(u"D", stored, u"XYZ"), u"segredo");
}

TEST(Criptografia, EmptyKeyIsRefused) {
  EXPECT_THROW(Criptografia(u"E", u"x", u""), rtl::Exception);
  EXPECT_THROW(Criptografia(u"D", u"0000", u""), rtl::Exception);
}

}  // namespace
