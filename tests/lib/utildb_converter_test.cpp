// The parser of the server's default texts for temporal columns: every
// layout, the validity bounds and the time parser's limits.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Lib/UtilDBPrivate.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"

namespace {

constexpr rtl::TDateTime kUntouched = -12345.5;

// The value ConverterDataMySql reads, or nothing when the text is not valid.
std::optional<rtl::TDateTime> Read(std::u16string_view text, std::u16string_view type) {
  rtl::TDateTime value = kUntouched;
  if (utildb::ConverterDataMySql(text, type, u"coluna", value)) return value;
  EXPECT_EQ(value, kUntouched) << "an invalid text leaves the value alone";
  return std::nullopt;
}

rtl::TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  return rtl::EncodeDateTime(y, m, d, h, n, s, 0);
}

struct Case {
  std::u16string text;
  const char16_t* type;
  std::optional<rtl::TDateTime> value;  // nothing: not valid
};

TEST(ConverterDataMySql, Layouts) {
  const Case cases[] = {
      {u"2024-02-29 10:00:00", u"timestamp", At(2024, 2, 29, 10)},
      {u"20240229100000", u"timestamp", At(2024, 2, 29, 10)},
      {u"240229100001", u"timestamp", At(2024, 2, 29, 10, 0, 1)},
      {u"2402291001", u"timestamp", At(2024, 2, 29, 10, 1)},
      {u"20240229", u"timestamp", At(2024, 2, 29)},
      {u"240229", u"timestamp", At(2024, 2, 29)},
      {u"2402", u"timestamp", At(2024, 2, 1)},
      {u"99", u"timestamp", At(1999, 1, 1)},
      {u"69", u"timestamp", At(2069, 1, 1)},
      {u"70", u"timestamp", At(1970, 1, 1)},
      {u"00", u"timestamp", At(2000, 1, 1)},
      {u"2024-02-29 10:00:00", u"TimeStamp", At(2024, 2, 29, 10)},
      {u"2024-02-29 23:59:59", u"datetime", At(2024, 2, 29, 23, 59, 59)},
      {u"2024-02-29 23:59:59.999", u"datetime", At(2024, 2, 29, 23, 59, 59)},
      {u"2024-02-29", u"date", At(2024, 2, 29)},
      {u"2024-02-29 10:00:00", u"DATE", At(2024, 2, 29)},
      // Separators are never read, and neither is any character a digit
      // is taken from: its low byte minus 48 is the digit.
      {u"2024/02/29T10.00.00", u"timestamp", At(2024, 2, 29, 10)},
      {u"20x4-02-29 10:00:00", u"datetime", At(2724, 2, 29, 10)},
      {u"\u0132024-02-29", u"date", At(2024, 2, 29)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Read(c.text, c.type), c.value) << rtl::Utf16ToUtf8(c.text + u" " + c.type);
}

TEST(ConverterDataMySql, ValidityBounds) {
  const Case cases[] = {
      {u"0001-01-01 00:00:00", u"datetime", At(1, 1, 1)},
      {u"0001-01-01 12:00:00", u"datetime", At(1, 1, 1) - 0.5},  // before day 0
      {u"9999-12-31 23:59:59", u"datetime", At(9999, 12, 31, 23, 59, 59)},
      {u"0000-01-01 00:00:00", u"datetime", std::nullopt},
      {u"0000-00-00 00:00:00", u"datetime", std::nullopt},
      {u"0000-00-00 00:00:00", u"timestamp", std::nullopt},
      {u"2023-02-29 10:00:00", u"datetime", std::nullopt},
      {u"2100-02-29", u"date", std::nullopt},
      {u"2000-02-29", u"date", At(2000, 2, 29)},
      {u"2024-04-31", u"date", std::nullopt},
      {u"2024-13-01", u"date", std::nullopt},
      {u"2024-00-10", u"date", std::nullopt},
      {u"2024-02-29 24:00:00", u"datetime", std::nullopt},
      {u"2024-02-29 23:60:00", u"datetime", std::nullopt},
      {u"2024-02-29 23:59:60", u"timestamp", std::nullopt},
      {u"2402291060", u"timestamp", std::nullopt},
      {u"2413", u"timestamp", std::nullopt},
      // MariaDB's text for the current-time default has the length of the
      // first layout and is no valid date.
      {u"current_timestamp()", u"timestamp", std::nullopt},
      // Too short for the offsets their layouts read: not valid.
      {u"2024-02-29 10:00:0", u"datetime", std::nullopt},
      {u"2024-02-2", u"date", std::nullopt},
      {u"", u"date", std::nullopt},
      {u"", u"datetime", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Read(c.text, c.type), c.value) << rtl::Utf16ToUtf8(c.text + u" " + c.type);
}

TEST(ConverterDataMySql, TimestampLengthsWithoutLayoutAreAnAssertion) {
  for (size_t length = 0; length <= 40; ++length) {
    const std::u16string text(length, u'1');
    if (length == 2 || length == 4 || length == 6 || length == 8 || length == 10 || length == 12 ||
        length == 14 || length == 19) {
      rtl::TDateTime value = 0;
      EXPECT_NO_THROW(utildb::ConverterDataMySql(text, u"timestamp", u"c", value)) << length;
      continue;
    }
    rtl::TDateTime value = 0;
    EXPECT_THROW_MSG(
        utildb::ConverterDataMySql(text, u"timestamp", u"c", value), rtl::EAssertionFailed,
        "Invalid FIELD_TYPE_TIMESTAMP FieldDesc.Length (" + std::to_string(length) + ")");
  }
  rtl::TDateTime value = 0;
  try {
    utildb::ConverterDataMySql(u"CURRENT_TIMESTAMP", u"timestamp", u"c", value);
    ADD_FAILURE();
  } catch (const rtl::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), u"Invalid FIELD_TYPE_TIMESTAMP FieldDesc.Length (17)");
    EXPECT_TRUE(std::string(e.File()).ends_with("UtilDBDefaults.cpp")) << e.File();
    EXPECT_GT(e.Line(), 0);
  }
}

constexpr double Seconds(double seconds) { return seconds / 86400; }

TEST(ConverterDataMySql, TimeParserLimits) {
  const Case cases[] = {
      {u"-838:59:59", u"time", -Seconds(838 * 3600 + 59 * 60 + 59)},
      {u"838:59:59", u"TIME", Seconds(838 * 3600 + 59 * 60 + 59)},
      {u"1000:00:00", u"time", Seconds(1000 * 3600)},
      {u"999:99:99", u"time", Seconds(999 * 3600 + 99 * 60 + 99)},  // no range test
      {u"12:34:56.789", u"time", Seconds(12 * 3600 + 34 * 60 + 56)},
      {u":00:01", u"time", Seconds(1)},
      {u"1a:00:00", u"time", Seconds(59 * 3600)},  // 'a' counts as 49
      {u"-00:00:00", u"time", -0.0},
      {u"10:00", u"time", std::nullopt},    // no seconds
      {u"10:00:0", u"time", std::nullopt},  // one digit short
      {u"10", u"time", std::nullopt},       // no ":"
      {u"999", u"time", std::nullopt},
      {u"1000", u"time", std::nullopt},
      {u"-", u"time", std::nullopt},
      {u"", u"time", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.text, c.type), c.value) << rtl::Utf16ToUtf8(c.text);

  for (const char16_t* text : {u"12345:00:00", u"10000", u"1000a", u"--5:00:00", u"-99999"}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(text));
    rtl::TDateTime value = 0;
    EXPECT_THROW_MSG(utildb::ConverterDataMySql(text, u"time", u"inicio", value),
                     rtl::EDatabaseError, "Wrong time format at field inicio");
  }
}

TEST(ConverterDataMySql, OtherTypesAreValidAndKeepTheValue) {
  for (const char16_t* type : {u"year", u"YEAR", u"int(11)", u"", u"datetime(3)", u" time"}) {
    for (const char16_t* text : {u"", u"abc", u"2024"}) {
      rtl::TDateTime value = kUntouched;
      EXPECT_TRUE(utildb::ConverterDataMySql(text, type, u"c", value)) << rtl::Utf16ToUtf8(type);
      EXPECT_EQ(value, kUntouched);
    }
  }
}

}  // namespace
