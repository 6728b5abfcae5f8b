// Field and statement utilities of TUtilDB.
#include <array>

#include "Lib/UtilDB.h"
#include "Lib/UtilDBPrivate.h"
#include "platform/db/Field.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/LocaleCase.h"
#include "platform/rtl/Text.h"

namespace {

bool IsBlank(char16_t c) { return c == u'\n' || c == u'\r' || c == u' '; }

// Tested on the ASCII-lower-cased character.
bool IsNameChar(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'_' || (c >= u'a' && c <= u'z');
}

}  // namespace

namespace utildb {

std::u16string RemoverQuebrasDeLinha(std::u16string texto) {
  std::u16string out;
  out.reserve(texto.size());
  for (size_t i = 0; i < texto.size(); ++i) {
    const char16_t c = texto[i];
    if (c == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n') ++i;
    out += c == u'\r' || c == u'\n' ? u' ' : c;
  }
  return out;
}

void WriteIgnoringReadOnly(db::TField& field, const std::function<void()>& write) {
  if (!field.ReadOnly()) {
    write();
    return;
  }
  field.SetReadOnly(false);
  try {
    write();
  } catch (...) {
    field.SetReadOnly(true);
    throw;
  }
  field.SetReadOnly(true);
}

}  // namespace utildb

void TUtilDB::SetValueFieldReadOnly(db::TStringField& Field, std::u16string Value) {
  utildb::WriteIgnoringReadOnly(Field, [&] { Field.SetAsString(Value); });
}

void TUtilDB::SetValueFieldReadOnly(db::TIntegerField& Field, std::int32_t Value) {
  utildb::WriteIgnoringReadOnly(Field, [&] { Field.SetAsInteger(Value); });
}

void TUtilDB::SetValueFieldReadOnly(db::TDateTimeField& Field, rtl::TDateTime Value) {
  utildb::WriteIgnoringReadOnly(Field, [&] { Field.SetAsDateTime(Value); });
}

void TUtilDB::SetValueFieldReadOnly(db::TDateField& Field, std::u16string Value) {
  utildb::WriteIgnoringReadOnly(Field, [&] { Field.SetAsString(Value); });
}

void TUtilDB::SetValueFieldReadOnly(db::TDateField& Field, rtl::TDateTime Value) {
  utildb::WriteIgnoringReadOnly(Field, [&] { Field.SetAsDateTime(Value); });
}

void TUtilDB::SetValueFieldReadOnly(db::TCurrencyField& Field, double Value) {
  const rtl::Currency amount = rtl::Currency::FromDouble(Value);
  utildb::WriteIgnoringReadOnly(Field, [&] { Field.SetAsCurrency(amount); });
}

void TUtilDB::SetValueFieldReadOnly(db::TFloatField& Field, double Value) {
  utildb::WriteIgnoringReadOnly(Field, [&] { Field.SetAsFloat(Value); });
}

std::u16string TUtilDB::TipodoCampo(db::TFieldType tipo) {
  static constexpr std::array<const char16_t*, 26> kNames = {
      u"ftUnknown", u"ftString",     u"ftSmallint", u"ftInteger",     u"ftWord",   u"ftBoolean",
      u"ftFloat",   u"ftCurrency",   u"ftBCD",      u"ftDate",        u"ftTime",   u"ftDateTime",
      u"ftBytes",   u"ftVarBytes",   u"ftAutoInc",  u"ftBlob",        u"ftMemo",   u"ftGraphic",
      u"ftFmtMemo", u"ftParadoxOle", u"ftDBaseOle", u"ftTypedBinary", u"ftCursor", u"",
      u"",          u"ftLargeint"};
  return tipo < kNames.size() ? kNames[tipo] : u"";
}

bool TUtilDB::IsDateField(std::u16string tipo) {
  const std::u16string lower = rtl::AnsiLowerCase(tipo);
  return lower == u"date" || lower == u"datetime" || lower == u"timestamp" || lower == u"year" ||
         lower == u"time";
}

std::u16string TUtilDB::NomeTabela(std::u16string ASql) {
  const std::u16string lower = rtl::AsciiLowerCase(ASql);
  const size_t from = lower.find(u"from");
  // Zero-based: the character after "from" is passed over; without "from"
  // the scan starts at the fifth character.
  size_t i = from == std::u16string::npos ? 4 : from + 5;
  while (i < ASql.size() && IsBlank(ASql[i])) ++i;
  std::u16string result;
  while (i < ASql.size() && IsNameChar(lower[i])) result += ASql[i++];
  return result;
}

std::u16string TUtilDB::GetTableNameFromInsert(std::u16string sqlInsert) {
  const std::u16string text = utildb::RemoverQuebrasDeLinha(std::move(sqlInsert));
  bool into = false;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find(u' ', start);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string piece = rtl::Trim(std::u16string_view(text).substr(start, end - start));
    start = end + 1;
    if (piece.empty()) continue;
    if (rtl::AsciiLowerCase(piece) == u"into") {
      into = true;
    } else if (into) {
      return piece.substr(0, piece.find(u'('));
    }
  }
  return {};
}
