#include "platform/db/Field.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/db/ColumnTyping.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/NumberFormat.h"
#include "platform/rtl/Text.h"

namespace db {
namespace {

bool IsNullOrEmpty(const rtl::Variant& value) {
  return value.Target().IsNull() || value.Target().IsEmpty();
}

// The value's text when it is a text, else nothing.
std::optional<std::u16string> TextOf(const rtl::Variant& value) {
  const rtl::TVarType type = value.Target().VarType();
  if (type != rtl::varUString && type != rtl::varOleStr && type != rtl::varString)
    return std::nullopt;
  return rtl::VarToUnicodeString(value);
}

rtl::EConvertError NotA(const std::u16string& text, const char16_t* what) {
  return rtl::EConvertError(u"'" + text + u"' is not a valid " + what);
}

// Decimal 64-bit integers beyond StrToInt's 32 bits.
std::optional<std::int64_t> TextToInt64(std::u16string_view text) {
  if (const auto small = rtl::TryStrToInt(text)) return *small;
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  const bool negative = i < text.size() && text[i] == u'-';
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
  if (i == text.size()) return std::nullopt;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    const std::uint64_t digit = text[i] - u'0';
    if (magnitude > (UINT64_C(9223372036854775808) - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  if (!negative && magnitude > INT64_MAX) return std::nullopt;
  return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

}  // namespace

TField::TField(TDataSet& dataSet, std::u16string name, TFieldType type, TFieldKind kind)
    : dataSet_(dataSet), name_(std::move(name)), type_(type), kind_(kind) {}

rtl::Variant TField::AsVariant() const { return dataSet_.CurrentValue(index_); }

bool TField::IsNull() const { return IsNullOrEmpty(dataSet_.CurrentValue(index_)); }

std::u16string TField::AsString() const {
  return IsNull() ? std::u16string() : rtl::VarToUnicodeString(dataSet_.CurrentValue(index_));
}

double TField::AsFloat() const {
  return IsNull() ? 0.0 : rtl::VarToDouble(dataSet_.CurrentValue(index_));
}

rtl::Currency TField::AsCurrency() const {
  return IsNull() ? rtl::Currency() : rtl::VarToCurrency(dataSet_.CurrentValue(index_));
}

rtl::TDateTime TField::AsDateTime() const {
  return IsNull() ? 0.0 : rtl::VarToDateTime(dataSet_.CurrentValue(index_));
}

std::int32_t TField::AsInteger() const {
  return IsNull() ? 0 : rtl::VarToInt32(dataSet_.CurrentValue(index_));
}

std::int64_t TField::AsLargeInt() const {
  return IsNull() ? 0 : rtl::VarToInt64(dataSet_.CurrentValue(index_));
}

bool TField::AsBoolean() const {
  return !IsNull() && rtl::VarToDouble(dataSet_.CurrentValue(index_)) != 0;
}

std::u16string TField::Text() const { return GetText(false); }

std::u16string TField::DisplayText() const { return GetText(true); }

std::u16string TField::GetText(bool display) const {
  if (!OnGetText) return AsString();
  std::u16string text;
  OnGetText(*this, text, display);
  return text;
}

void TField::SetAsVariant(const rtl::Variant& value) { Write(value); }
void TField::SetAsString(std::u16string_view value) { Write(rtl::Variant(std::u16string(value))); }
void TField::SetAsFloat(double value) { Write(rtl::Variant(value)); }
void TField::SetAsCurrency(rtl::Currency value) { Write(rtl::Variant(value)); }
void TField::SetAsDateTime(rtl::TDateTime value) { Write(rtl::Variant::FromDateTime(value)); }
void TField::SetAsInteger(std::int32_t value) { Write(rtl::Variant(value)); }
void TField::SetAsLargeInt(std::int64_t value) { Write(rtl::Variant(value)); }
void TField::SetAsBoolean(bool value) { Write(rtl::Variant(value)); }
void TField::Clear() { Write(rtl::Variant::Null()); }

void TField::SetText(std::u16string_view value) {
  if (OnSetText) {
    OnSetText(*this, std::u16string(value));
  } else {
    SetAsString(value);
  }
}

void TField::Write(const rtl::Variant& value) {
  dataSet_.CheckWrite(*this);
  rtl::Variant converted = Convert(value);
  rtl::Variant* slot = dataSet_.ValueSlot(*this);
  rtl::Variant old = std::exchange(*slot, std::move(converted));
  if (OnValidate) {
    try {
      OnValidate(*this);
    } catch (...) {
      if (rtl::Variant* again = dataSet_.ValueSlot(*this)) *again = std::move(old);
      throw;
    }
  }
  dataSet_.FieldChanged(*this);
}

rtl::Variant TField::Convert(const rtl::Variant& value) const {
  return IsNullOrEmpty(value) ? rtl::Variant::Null() : value;
}

rtl::Variant TStringField::Convert(const rtl::Variant& value) const {
  if (IsNullOrEmpty(value)) return rtl::Variant::Null();
  return rtl::Variant(rtl::VarToUnicodeString(value));
}

rtl::Variant TIntegerField::Convert(const rtl::Variant& value) const {
  if (IsNullOrEmpty(value)) return rtl::Variant::Null();
  if (const auto text = TextOf(value))
    return text->empty() ? rtl::Variant::Null() : rtl::Variant(rtl::StrToInt(*text));
  return rtl::Variant(rtl::VarToInt32(value));
}

rtl::Variant TLargeintField::Convert(const rtl::Variant& value) const {
  if (IsNullOrEmpty(value)) return rtl::Variant::Null();
  if (const auto text = TextOf(value)) {
    if (text->empty()) return rtl::Variant::Null();
    if (const auto number = TextToInt64(*text)) return rtl::Variant(*number);
    throw NotA(*text, u"integer value");
  }
  return rtl::Variant(rtl::VarToInt64(value));
}

rtl::Variant TBooleanField::Convert(const rtl::Variant& value) const {
  if (IsNullOrEmpty(value)) return rtl::Variant::Null();
  if (const auto text = TextOf(value)) {
    if (text->empty()) return rtl::Variant::Null();
    const std::u16string lower = rtl::AsciiLowerCase(*text);
    if (lower == u"true") return rtl::Variant(true);
    if (lower == u"false") return rtl::Variant(false);
    if (const auto number = rtl::TryStrToInt(*text)) return rtl::Variant(*number != 0);
    throw NotA(*text, u"boolean value");
  }
  return rtl::Variant(rtl::VarToDouble(value) != 0);
}

rtl::Variant TFloatField::Convert(const rtl::Variant& value) const {
  if (IsNullOrEmpty(value)) return rtl::Variant::Null();
  if (const auto text = TextOf(value)) {
    if (text->empty()) return rtl::Variant::Null();
    if (const auto number = rtl::TryTextToFloat(*text, rtl::FormatSettings().DecimalSeparator))
      return rtl::Variant(*number);
    throw NotA(*text, u"floating point value");
  }
  return rtl::Variant(rtl::VarToDouble(value));
}

rtl::Variant TDateTimeField::Convert(const rtl::Variant& value) const {
  if (IsNullOrEmpty(value)) return rtl::Variant::Null();
  if (const auto text = TextOf(value)) {
    if (text->empty()) return rtl::Variant::Null();
    const std::string utf8 = rtl::Utf16ToUtf8(*text);
    rtl::Variant date = DateTimeText(utf8);
    if (date.IsNull()) date = TimeText(utf8);
    if (date.IsNull()) throw NotA(*text, u"date and time");
    return date;
  }
  return rtl::Variant::FromDateTime(rtl::VarToDateTime(value));
}

rtl::Variant TDateField::Convert(const rtl::Variant& value) const {
  const rtl::Variant dateTime = TDateTimeField::Convert(value);
  if (dateTime.IsNull()) return dateTime;
  return rtl::Variant::FromDateTime(std::trunc(rtl::VarToDateTime(dateTime)));
}

}  // namespace db
