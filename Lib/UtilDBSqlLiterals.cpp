// SQL literal formatting of TUtilDB.
#include <array>
#include <charconv>
#include <cmath>

#include "Lib/UtilDB.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/NumberFormat.h"
#include "platform/rtl/Text.h"

namespace {

// The letter written after the backslash for each escaped character, or 0.
constexpr std::array<char16_t, 0x5D> kEscapes = [] {
  std::array<char16_t, 0x5D> table{};
  table[0x00] = u'0';
  table[0x0A] = u'n';
  table[0x0D] = u'r';
  table[0x1A] = u'Z';
  table[u'"'] = u'"';
  table[u'\''] = u'\'';
  table[u'\\'] = u'\\';
  return table;
}();

char16_t EscapeOf(char16_t c) { return c < kEscapes.size() ? kEscapes[c] : 0; }

// value's digits zero-filled to width; wider than FormatNumber so that years
// beyond 65535 keep all their digits.
std::u16string PadNumber(std::uint64_t value, std::size_t width) {
  char digits[20];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const std::size_t length = end - digits;
  std::u16string text(length < width ? width - length : 0, u'0');
  text.append(digits, end);
  return text;
}

std::u16string Quoted(std::u16string_view text) {
  std::u16string literal = u"'";
  literal += TUtilDB::StringToSql(text);
  literal += u'\'';
  return literal;
}

}  // namespace

std::u16string TUtilDB::ParamToSql(const rtl::Variant& value) {
  return ParamToSql(value, rtl::CodePage::Ansi(), rtl::FormatSettings());
}

std::u16string TUtilDB::ParamToSql(const rtl::Variant& value, const rtl::CodePage& ansi,
                                   const rtl::TFormatSettings& settings) {
  switch (value.VarType()) {
    case rtl::varEmpty:
    case rtl::varNull:
      return u"NULL";
    case rtl::varSmallint:
    case rtl::varInteger:
    case rtl::varByte:
      return rtl::IntToStr(rtl::VarToInt64(value, settings));
    case rtl::varSingle:
    case rtl::varDouble:
    case rtl::varCurrency:
      return FloatToStrEx(rtl::VarToDouble(value, settings));
    case rtl::varDate:
      return u"'" + DateTimeToSqlDateEx(rtl::VarToDateTime(value)) + u"'";
    case rtl::varBoolean:
      return rtl::VarToInt64(value, settings) != 0 ? u"'Y'" : u"'N'";
    default:
      // Everything else takes the detour through the 8-bit ANSI string, so
      // characters the code page lacks are replaced on the way.
      if (value.Target().IsArray()) return Quoted(ansi.Decode(rtl::VarToBytes(value)));
      return Quoted(ansi.Decode(rtl::VarToAnsiString(value, settings, ansi)));
  }
}

std::u16string TUtilDB::ValueToSql(const rtl::Variant& value) { return ParamToSql(value); }

std::u16string TUtilDB::StringToSql(std::u16string_view value) {
  std::size_t escapes = 0;
  for (const char16_t c : value) escapes += EscapeOf(c) != 0;
  if (escapes == 0) return std::u16string(value);

  std::u16string result(value.size() + escapes, u'\0');
  char16_t* out = result.data();
  for (const char16_t c : value) {
    if (const char16_t letter = EscapeOf(c)) {
      *out++ = u'\\';
      *out++ = letter;
    } else {
      *out++ = c;
    }
  }
  return result;
}

std::u16string TUtilDB::DateTimeToSqlDateEx(rtl::TDateTime value) {
  const double days = std::trunc(value);
  std::u16string text = days != 0 ? FormatSqlDate(value) : u"0000-00-00";
  if (value - days != 0) {
    text += u' ';
    text += FormatSqlTime(value);
  }
  return text;
}

std::u16string TUtilDB::FormatSqlDate(rtl::TDateTime value) {
  const rtl::DateTimeParts parts = rtl::DecodeDateTime(value);
  return PadNumber(static_cast<std::uint64_t>(parts.Year), 4) + u"-" + PadNumber(parts.Month, 2) +
         u"-" + PadNumber(parts.Day, 2);
}

std::u16string TUtilDB::FormatSqlTime(rtl::TDateTime value) {
  const rtl::DateTimeParts parts = rtl::DecodeDateTime(value);
  return PadNumber(parts.Hour, 2) + u":" + PadNumber(parts.Minute, 2) + u":" +
         PadNumber(parts.Second, 2);
}

std::u16string TUtilDB::FloatToStrEx(double value) {
  // Written with "." directly: replacing the locale's separator afterwards
  // gives the same text, except for a separator that also occurs elsewhere
  // in the number ("-", a digit), where it would corrupt it.
  return rtl::FloatToStr(value, u'.');
}

std::u16string TUtilDB::FormatNumber(std::uint16_t value, std::uint16_t width) {
  return PadNumber(value, width);
}
