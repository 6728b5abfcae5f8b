// Literals read back by the real server: SELECT <literal> must give the value
// that was formatted. This is what catches escaping faults that tables miss.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "Lib/UtilDB.h"
#include "platform/db/Query.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Text.h"
#include "tests/support/TestDatabase.h"

namespace {

using rtl::Variant;

class SqlLiteralRoundTrip : public testdb::DatabaseTest {
 protected:
  // The first column of the one row of statement.
  db::TField& Select(const std::u16string& expression) {
    query_ = std::make_unique<db::TUniQuery>(&Database().Connection());
    query_->SetSQL(u"SELECT " + expression);
    query_->Open();
    EXPECT_EQ(query_->RecordCount(), 1);
    return query_->Fields()[0];
  }

  std::mt19937 random_{20240315};

 private:
  std::unique_ptr<db::TUniQuery> query_;
};

std::string U8(const std::u16string& text) { return rtl::Utf16ToUtf8(text); }

// Characters that matter to escaping, plus what follows them.
const char16_t kTricky[] = {u'\0', u'\n', u'\r', u'\x1a', u'"', u'\'', u'\\', u'\t', u'\b',
                            u'%',  u'_',  u'`',  u';',    u'-', u'#',  u'/',  u'*'};

// Windows-1252 letters beyond Latin-1.
const char16_t k1252Extras[] = {u'\u20ac', u'\u201a', u'\u0192', u'\u201e', u'\u2026', u'\u2020',
                                u'\u2021', u'\u02c6', u'\u2030', u'\u0160', u'\u2039', u'\u0152',
                                u'\u017d', u'\u2018', u'\u2019', u'\u201c', u'\u201d', u'\u2022',
                                u'\u2013', u'\u2014', u'\u02dc', u'\u2122', u'\u0161', u'\u203a',
                                u'\u0153', u'\u017e', u'\u0178'};

// Random text of characters that windows-1252 holds.
std::u16string Text1252(std::mt19937& random) {
  std::u16string text;
  const int length = random() % 40;
  for (int i = 0; i < length; ++i) {
    switch (random() % 4) {
      case 0:
        text += kTricky[random() % std::size(kTricky)];
        break;
      case 1:
        text += static_cast<char16_t>(0x20 + random() % 0x5F);
        break;
      case 2:
        text += static_cast<char16_t>(0xA0 + random() % 0x60);
        break;
      default:
        text += k1252Extras[random() % std::size(k1252Extras)];
        break;
    }
  }
  return text;
}

// Random valid UTF-16: escapes, any BMP character but surrogates, and pairs.
std::u16string AnyText(std::mt19937& random) {
  std::u16string text;
  const int length = random() % 40;
  for (int i = 0; i < length; ++i) {
    switch (random() % 4) {
      case 0:
        text += kTricky[random() % std::size(kTricky)];
        break;
      case 1: {
        char16_t c;
        do c = static_cast<char16_t>(1 + random() % 0xFFFF);
        while (c >= 0xD800 && c <= 0xDFFF);
        text += c;
        break;
      }
      case 2: {
        const char32_t c = 0x10000 + random() % 0x100000;
        text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        break;
      }
      default:
        text += static_cast<char16_t>(0x20 + random() % 0x5F);
        break;
    }
  }
  return text;
}

TEST_F(SqlLiteralRoundTrip, Strings) {
  const rtl::CodePage cp1252("windows-1252");
  const rtl::CodePage utf8("UTF-8");
  const rtl::TFormatSettings settings;
  std::vector<std::u16string> fixed = {u"",
                                       u"'",
                                       u"\\",
                                       u"\\'",
                                       u"'\\",
                                       u"''",
                                       u"\\\\'",
                                       u"O'Brien",
                                       u"a\r\nb",
                                       u"'; DROP TABLE x; -- ",
                                       u"\\' OR 1=1 -- ",
                                       u"\"\"",
                                       u"\x1a",
                                       u"100% _ok_",
                                       std::u16string(u"\0\0'\0", 4),
                                       std::u16string(4000, u'\'') + u"\\"};
  for (const std::u16string& text : fixed) {
    SCOPED_TRACE(U8(text));
    EXPECT_EQ(Select(TUtilDB::ParamToSql(Variant(text), cp1252, settings)).AsString(), text);
    EXPECT_EQ(Select(u"'" + TUtilDB::StringToSql(text) + u"'").AsString(), text);
  }
  for (int i = 0; i < 150; ++i) {
    const std::u16string text = Text1252(random_);
    SCOPED_TRACE(U8(text));
    EXPECT_EQ(Select(TUtilDB::ParamToSql(Variant(text), cp1252, settings)).AsString(), text);
    EXPECT_EQ(Select(TUtilDB::ParamToSql(Variant::FromOleStr(text), cp1252, settings)).AsString(),
              text);
  }
  for (int i = 0; i < 150; ++i) {
    const std::u16string text = AnyText(random_);
    SCOPED_TRACE(U8(text));
    EXPECT_EQ(Select(TUtilDB::ParamToSql(Variant(text), utf8, settings)).AsString(), text);
    EXPECT_EQ(Select(u"'" + TUtilDB::StringToSql(text) + u"'").AsString(), text);
  }
}

TEST_F(SqlLiteralRoundTrip, ByteArraysThroughWindows1252) {
  const rtl::CodePage cp1252("windows-1252");
  static const char kHex[] = "0123456789ABCDEF";
  for (int i = 0; i < 60; ++i) {
    std::string bytes;
    std::string hex;
    const int length = random_() % 30;
    while (static_cast<int>(bytes.size()) < length) {
      const unsigned char byte = random_() % 256;
      // Bytes windows-1252 leaves undefined cannot come back.
      if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) continue;
      bytes += static_cast<char>(byte);
      hex += kHex[byte >> 4];
      hex += kHex[byte & 15];
    }
    const std::u16string literal =
        TUtilDB::ParamToSql(Variant::ByteArray(bytes), cp1252, rtl::TFormatSettings{});
    // The server's latin1 is windows-1252.
    EXPECT_EQ(U8(Select(u"HEX(CONVERT(" + literal + u" USING latin1))").AsString()), hex)
        << U8(literal);
  }
}

TEST_F(SqlLiteralRoundTrip, Doubles) {
  std::vector<double> values = {0,
                                1,
                                -2.5,
                                1234.5,
                                0.0001,
                                0.00001,
                                999999999999999,
                                1e15,
                                1.0 / 3,
                                0.1,
                                1e-300,
                                -1.7976931348623157e308,
                                1.7976931348623157e308,
                                2.2250738585072014e-308,
                                4.9406564584124654e-324,
                                193.6788761970775};
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> exponent(-307, 307);
  for (int i = 0; i < 200; ++i) {
    const double value = mantissa(random_) * std::pow(10.0, exponent(random_));
    values.push_back(i % 2 ? value : -value);
  }
  for (int e = -6; e <= 18; ++e) values.push_back(1.2345678901234567 * std::pow(10.0, e));
  for (const double value : values) {
    const std::u16string literal = TUtilDB::ParamToSql(Variant(value));
    const std::string text = U8(literal);
    double written = 0;
    ASSERT_EQ(std::from_chars(text.data(), text.data() + text.size(), written).ec, std::errc())
        << text;
    // Fifteen significant digits of the value.
    EXPECT_LE(std::fabs(written - value), std::fabs(value) * 1e-14) << text;
    EXPECT_EQ(Select(literal).AsFloat(), written) << text;
  }
}

TEST_F(SqlLiteralRoundTrip, CurrencyAndSingles) {
  for (const std::int64_t count : {0LL, 1LL, -1LL, 25000LL, 159000LL, 123456789LL, -987654321LL}) {
    const std::u16string literal = TUtilDB::ParamToSql(Variant(rtl::Currency::FromCount(count)));
    EXPECT_EQ(Select(u"CAST(" + literal + u" * 10000 AS SIGNED)").AsLargeInt(), count)
        << U8(literal);
  }
  for (const float value : {0.1f, -3.25f, 1e-20f, 3.4e38f}) {
    const std::u16string literal = TUtilDB::ParamToSql(Variant::FromSingle(value));
    EXPECT_EQ(static_cast<float>(Select(literal).AsFloat()), value) << U8(literal);
  }
}

TEST_F(SqlLiteralRoundTrip, DatesAndDateTimes) {
  for (int i = 0; i < 100; ++i) {
    const int year = 1000 + random_() % 9000;
    const int month = 1 + random_() % 12;
    const int day = 1 + random_() % 28;
    const int hour = random_() % 24;
    const int minute = random_() % 60;
    const int second = random_() % 60;
    const int ms = random_() % 1000;
    const bool with_time = i % 3 != 0;
    const double value = with_time ? rtl::EncodeDateTime(year, month, day, hour, minute, second, ms)
                                   : rtl::EncodeDate(year, month, day);
    const std::u16string literal = TUtilDB::ParamToSql(Variant::FromDateTime(value));
    // Milliseconds are dropped.
    const double expected =
        with_time ? rtl::EncodeDateTime(year, month, day, hour, minute, second, 0) : value;
    EXPECT_EQ(Select(u"CAST(" + literal + u" AS DATETIME)").AsDateTime(), expected) << U8(literal);
  }
}

TEST_F(SqlLiteralRoundTrip, BooleansAndIntegersOfEveryKind) {
  EXPECT_EQ(Select(TUtilDB::ParamToSql(Variant(true))).AsString(), u"Y");
  EXPECT_EQ(Select(TUtilDB::ParamToSql(Variant(false))).AsString(), u"N");
  std::uniform_int_distribution<std::int64_t> any64;
  for (int i = 0; i < 30; ++i) {
    const std::int64_t r = any64(random_);
    const struct {
      Variant value;
      std::int64_t expected;
    } cases[] = {
        {Variant::FromSmallint(static_cast<std::int16_t>(r)), static_cast<std::int16_t>(r)},
        {Variant(static_cast<std::int32_t>(r)), static_cast<std::int32_t>(r)},
        {Variant::FromByte(static_cast<std::uint8_t>(r)), static_cast<std::uint8_t>(r)},
        {Variant::FromShortInt(static_cast<std::int8_t>(r)), static_cast<std::int8_t>(r)},
        {Variant::FromWord(static_cast<std::uint16_t>(r)), static_cast<std::uint16_t>(r)},
        {Variant::FromLongWord(static_cast<std::uint32_t>(r)), static_cast<std::uint32_t>(r)},
        {Variant(r), r},
    };
    // The server reads the literal as an integer and writes it back as text.
    for (const auto& c : cases) {
      const std::u16string literal = TUtilDB::ParamToSql(c.value);
      EXPECT_EQ(U8(Select(u"CAST(CAST(" + literal + u" AS SIGNED) AS CHAR)").AsString()),
                std::to_string(c.expected))
          << U8(literal);
    }
    const std::uint64_t u = static_cast<std::uint64_t>(r);
    const std::u16string literal = TUtilDB::ParamToSql(Variant::FromUInt64(u));
    EXPECT_EQ(U8(Select(u"CAST(CAST(" + literal + u" AS UNSIGNED) AS CHAR)").AsString()),
              std::to_string(u))
        << U8(literal);
  }
}

}  // namespace
