#include "platform/db/ColumnTyping.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Text.h"

namespace db {
namespace {

constexpr unsigned kBinaryCharset = 63;

bool IsBinary(const MYSQL_FIELD& column) { return column.charsetnr == kBinaryCharset; }

template <typename Number>
bool Parse(std::string_view text, Number& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

// Reads the count decimal digits at text[from, from + count); nothing else.
bool Digits(std::string_view text, size_t from, size_t count, int& out) {
  if (count == 0 || from + count > text.size()) return false;
  const std::string_view digits = text.substr(from, count);
  for (const char c : digits)
    if (c < '0' || c > '9') return false;
  return Parse(digits, out);
}

// BIT values arrive as big-endian raw bytes.
std::uint64_t BitValue(std::string_view bytes) {
  std::uint64_t value = 0;
  for (const unsigned char byte : bytes) value = value << 8 | byte;
  return value;
}

}  // namespace

rtl::Variant DateTimeText(std::string_view text) {
  const size_t size = text.size();
  const bool withTime = size >= 19;
  if (size != 10 && size != 19 && !(size >= 21 && size <= 26 && text[19] == '.'))
    return rtl::Variant::Null();
  if (text[4] != '-' || text[7] != '-') return rtl::Variant::Null();
  if (withTime && (text[10] != ' ' || text[13] != ':' || text[16] != ':'))
    return rtl::Variant::Null();
  int year, month, day, hour = 0, minute = 0, second = 0, micro = 0;
  if (!Digits(text, 0, 4, year) || !Digits(text, 5, 2, month) || !Digits(text, 8, 2, day))
    return rtl::Variant::Null();
  if (withTime &&
      (!Digits(text, 11, 2, hour) || !Digits(text, 14, 2, minute) || !Digits(text, 17, 2, second)))
    return rtl::Variant::Null();
  if (size > 20) {
    if (!Digits(text, 20, size - 20, micro)) return rtl::Variant::Null();
    for (size_t i = size - 20; i < 6; ++i) micro *= 10;
  }
  try {
    return rtl::Variant::FromDateTime(
        rtl::EncodeDateTime(year, month, day, hour, minute, second, micro / 1000));
  } catch (const rtl::EConvertError&) {
    return rtl::Variant::Null();
  }
}

rtl::Variant TimeText(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const size_t colon = text.find(':');
  int hours, minutes, seconds;
  if (colon == std::string_view::npos || colon == 0 || !Digits(text, 0, colon, hours) ||
      !Digits(text, colon + 1, 2, minutes) || text.size() < colon + 6 || text[colon + 3] != ':' ||
      !Digits(text, colon + 4, 2, seconds))
    return rtl::Variant::Null();
  double value = (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
  if (text.size() > colon + 6) {
    int micro;
    const size_t digits = text.size() - (colon + 7);
    if (text[colon + 6] != '.' || digits == 0 || digits > 6 ||
        !Digits(text, colon + 7, digits, micro))
      return rtl::Variant::Null();
    value += micro / std::pow(10.0, digits) / 86400.0;
  }
  return rtl::Variant::FromDateTime(negative ? -value : value);
}

TFieldType ColumnFieldType(const MYSQL_FIELD& column) {
  const bool isUnsigned = column.flags & UNSIGNED_FLAG;
  const unsigned long length = column.length;
  switch (column.type) {
    case MYSQL_TYPE_LONG:
      return isUnsigned ? ftLargeint : ftInteger;
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_INT24:
      return ftInteger;
    case MYSQL_TYPE_TINY:
      if (length >= 2 && length <= 10) return ftInteger;
      if (length == 1) return ftBoolean;
      return isUnsigned ? ftWord : ftSmallint;
    case MYSQL_TYPE_LONGLONG:
      return length <= 11 ? ftInteger : ftLargeint;
    case MYSQL_TYPE_BIT:
      return length < 32 ? ftInteger : ftLargeint;
    case MYSQL_TYPE_YEAR:
      return ftSmallint;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
      return ftFloat;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
      return ftDate;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
      return ftDateTime;
    case MYSQL_TYPE_TIME:
      return ftTime;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
      return IsBinary(column) ? ftBlob : ftMemo;
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_VARCHAR:
      return IsBinary(column) ? ftBytes : ftString;
    default:
      return ftString;
  }
}

rtl::Variant CellValue(TFieldType type, const MYSQL_FIELD& column, const char* data,
                       unsigned long length) {
  if (!data) return rtl::Variant::Null();
  const std::string_view text(data, length);
  switch (type) {
    case ftBoolean: {
      std::int64_t value = 0;
      return rtl::Variant(Parse(text, value) && value != 0);
    }
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftLargeint: {
      std::int64_t value = 0;
      if (column.type == MYSQL_TYPE_BIT || !Parse(text, value)) {
        // BIT(64) and BIGINT UNSIGNED may pass the signed range: such values
        // keep their kind so that reading them as signed fails instead of
        // turning negative.
        std::uint64_t large = 0;
        if (column.type == MYSQL_TYPE_BIT) {
          large = BitValue(text);
        } else if (!Parse(text, large)) {
          return rtl::Variant::Null();
        }
        if (large > static_cast<std::uint64_t>(INT64_MAX) && type == ftLargeint)
          return rtl::Variant::FromUInt64(large);
        value = static_cast<std::int64_t>(large);
      }
      if (type == ftLargeint) return rtl::Variant(value);
      return rtl::Variant(static_cast<std::int32_t>(value));
    }
    case ftFloat: {
      double value = 0;
      if (!Parse(text, value)) return rtl::Variant::Null();
      return rtl::Variant(value);
    }
    case ftDate:
    case ftDateTime:
      return DateTimeText(text);
    case ftTime:
      return TimeText(text);
    case ftBytes:
    case ftBlob:
      return rtl::Variant::FromAnsiString(std::string(text));
    default:
      return rtl::Variant(rtl::Utf8ToUtf16(text));
  }
}

}  // namespace db
