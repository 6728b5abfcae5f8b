#include "platform/db/Query.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "platform/db/ColumnTyping.h"
#include "platform/db/MySql.h"
#include "platform/db/SqlParams.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/LocaleCase.h"
#include "platform/rtl/NumberFormat.h"
#include "platform/rtl/Text.h"

namespace db {
namespace {

using Result = std::unique_ptr<MYSQL_RES, decltype(&mysql_free_result)>;

std::u16string Text(const char* text, unsigned length) {
  return rtl::Utf8ToUtf16(std::string_view(text ? text : "", text ? length : 0));
}

// Skips further result sets (procedures), so the connection stays usable.
void DrainResults(MYSQL* handle) {
  while (mysql_next_result(handle) == 0) Result(mysql_store_result(handle), mysql_free_result);
}

// Runs statement and returns its whole result set.
Result Run(MYSQL* handle, const std::string& statement) {
  if (mysql_real_query(handle, statement.data(), statement.size()) != 0) RaiseMySqlError(handle);
  Result result(mysql_store_result(handle), mysql_free_result);
  if (!result) {
    if (mysql_field_count(handle) != 0) RaiseMySqlError(handle);
    DrainResults(handle);
    throw rtl::EDatabaseError(u"The statement returned no result set");
  }
  DrainResults(handle);
  return result;
}

std::string Quoted(MYSQL* handle, const std::string& text) {
  std::string escaped(text.size() * 2 + 1, '\0');
  // Escapes as the connection's character set and SQL mode require.
  escaped.resize(mysql_real_escape_string(handle, escaped.data(), text.data(), text.size()));
  return "'" + escaped + "'";
}

std::string Identifier(std::u16string_view name) {
  std::string quoted = "`";
  for (const char c : rtl::Utf16ToUtf8(name)) {
    if (c == '`') quoted += '`';
    quoted += c;
  }
  return quoted + "`";
}

// value as a literal of its kind.
std::string Literal(MYSQL* handle, const rtl::Variant& value) {
  const rtl::Variant& v = value.Target();
  switch (v.VarType()) {
    case rtl::varEmpty:
    case rtl::varNull:
      return "NULL";
    case rtl::varBoolean:
      return rtl::VarToInt64(v) ? "TRUE" : "FALSE";
    case rtl::varSmallint:
    case rtl::varInteger:
    case rtl::varShortInt:
    case rtl::varByte:
    case rtl::varWord:
    case rtl::varLongWord:
    case rtl::varInt64:
    case rtl::varUInt64:
      return rtl::Utf16ToUtf8(rtl::VarToUnicodeString(v));
    case rtl::varSingle:
    case rtl::varDouble: {
      const double number = rtl::VarToDouble(v);
      if (!std::isfinite(number))
        throw rtl::EDatabaseError(u"The value " + rtl::VarToUnicodeString(v) +
                                  u" has no SQL literal");
      char digits[32];
      return std::string(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
    }
    case rtl::varCurrency:
      return rtl::Utf16ToUtf8(rtl::CurrToStr(rtl::VarToCurrency(v), u'.'));
    case rtl::varDecimal:
      return rtl::Utf16ToUtf8(
          rtl::VarToUnicodeString(v, rtl::TFormatSettings(), rtl::CodePage::Ansi()));
    case rtl::varDate: {
      const rtl::DateTimeParts p = rtl::DecodeDateTime(rtl::VarToDateTime(v));
      char text[64];
      std::snprintf(text, sizeof text, "'%04d-%02u-%02u %02u:%02u:%02u.%03u'", p.Year, p.Month,
                    p.Day, p.Hour, p.Minute, p.Second, p.Millisecond);
      return text;
    }
    default:
      if (v.IsArray()) {
        std::string hex = "X'";
        for (const unsigned char byte : rtl::VarToBytes(v)) {
          hex += "0123456789ABCDEF"[byte >> 4];
          hex += "0123456789ABCDEF"[byte & 15];
        }
        return hex + "'";
      }
      return Quoted(handle, rtl::Utf16ToUtf8(rtl::VarToUnicodeString(v)));
  }
}

}  // namespace

void TUniQuery::SetSQL(std::u16string text) {
  Close();
  sql_ = std::move(text);
  // Names compared lower-cased once each, so long texts stay linear.
  std::unordered_map<std::u16string, rtl::Variant> oldValues;
  for (TParam& param : params_.items_)
    oldValues.try_emplace(rtl::AnsiLowerCase(param.Name), std::move(param.Value));
  TParams parsed;
  std::unordered_set<std::u16string> seen;
  for (ParsedSql::Marker& marker : ParseSqlParams(sql_).Markers) {
    std::u16string key = rtl::AnsiLowerCase(marker.Name);
    if (!seen.insert(key).second) continue;
    TParam param{std::move(marker.Name), {}};
    if (const auto old = oldValues.find(key); old != oldValues.end()) param.Value = old->second;
    parsed.items_.push_back(std::move(param));
  }
  params_ = std::move(parsed);
}

bool TUniQuery::CanModify() const {
  return Active() && !ReadOnly && !UniDirectional && anyFieldCanBeModified_;
}

std::vector<TDataSet::Record> TUniQuery::OpenCursor() {
  if (!Connection) throw rtl::EDatabaseError(u"Connection is not active");
  // Opening a query on a closed connection connects it, as the access layer does.
  if (!Connection->Connected()) Connection->Connect();
  MYSQL* handle = Connection->impl_->handle;
  const ParsedSql parsed = ParseSqlParams(sql_);
  std::string statement;
  std::size_t done = 0;
  for (const ParsedSql::Marker& marker : parsed.Markers) {
    statement +=
        rtl::Utf16ToUtf8(std::u16string_view(parsed.Text).substr(done, marker.Offset - done));
    statement += Literal(handle, params_.ParamByName(marker.Name).Value);
    done = marker.Offset;
  }
  statement += rtl::Utf16ToUtf8(std::u16string_view(parsed.Text).substr(done));
  const Result result = Run(handle, statement);

  const unsigned columnCount = mysql_num_fields(result.get());
  const MYSQL_FIELD* columns = mysql_fetch_fields(result.get());
  std::vector<TFieldType> types(columnCount);
  // The updating table is the table of the first column; fields from other
  // tables and expressions cannot be written back.
  const std::u16string updatingDb =
      columnCount ? Text(columns[0].db, columns[0].db_length) : std::u16string();
  const std::u16string updatingTable =
      columnCount ? Text(columns[0].org_table, columns[0].org_table_length) : std::u16string();
  anyFieldCanBeModified_ = false;
  defaultsDatabase_ = updatingDb;
  defaultsTable_ = updatingTable;
  defaultColumns_.clear();
  for (unsigned i = 0; i < columnCount; ++i) {
    const MYSQL_FIELD& column = columns[i];
    types[i] = ColumnFieldType(column);
    TField& field = AddField(types[i], Text(column.name, column.name_length));
    const std::u16string table = Text(column.org_table, column.org_table_length);
    field.SetReadOnly(table.empty() || table != updatingTable ||
                      Text(column.db, column.db_length) != updatingDb);
    field.Required = Options.RequiredFields && (column.flags & NOT_NULL_FLAG);
    anyFieldCanBeModified_ = anyFieldCanBeModified_ || !field.ReadOnly();
    if (!field.ReadOnly() && !(column.flags & NO_DEFAULT_VALUE_FLAG))
      defaultColumns_.push_back({field.Index(), Text(column.org_name, column.org_name_length)});
  }

  std::vector<Record> records;
  records.reserve(mysql_num_rows(result.get()));
  while (MYSQL_ROW row = mysql_fetch_row(result.get())) {
    const unsigned long* lengths = mysql_fetch_lengths(result.get());
    Record record;
    record.reserve(columnCount);
    for (unsigned i = 0; i < columnCount; ++i)
      record.push_back(CellValue(types[i], columns[i], row[i], lengths[i]));
    records.push_back(std::move(record));
  }
  return records;
}

void TUniQuery::InitRecord(Record& record) {
  if (!Options.DefaultValues || defaultColumns_.empty()) return;
  if (!Connection || !Connection->Connected())
    throw rtl::EDatabaseError(u"Connection is not active");
  // DEFAULT() needs a row of the table; the outer join gives one even when
  // the table is empty.
  std::string statement = "SELECT ";
  const std::string table = Identifier(defaultsDatabase_) + "." + Identifier(defaultsTable_);
  for (const DefaultColumn& column : defaultColumns_) {
    if (&column != &defaultColumns_.front()) statement += ", ";
    statement += "DEFAULT(" + table + "." + Identifier(column.Column) + ")";
  }
  statement += " FROM (SELECT 1) AS `one` LEFT JOIN " + table + " ON FALSE";
  const Result result = Run(Connection->impl_->handle, statement);
  const MYSQL_FIELD* columns = mysql_fetch_fields(result.get());
  const MYSQL_ROW row = mysql_fetch_row(result.get());
  if (!row) throw rtl::EDatabaseError(u"The column defaults could not be read");
  const unsigned long* lengths = mysql_fetch_lengths(result.get());
  for (std::size_t i = 0; i < defaultColumns_.size(); ++i) {
    const int field = defaultColumns_[i].Field;
    record[field] = CellValue(Fields()[field].DataType(), columns[i], row[i], lengths[i]);
  }
}

TParam& TParams::operator[](int index) {
  return const_cast<TParam&>(static_cast<const TParams&>(*this)[index]);
}

const TParam& TParams::operator[](int index) const {
  if (index < 0 || index >= Count())
    throw rtl::EListError(u"List index out of bounds (" + rtl::IntToStr(index) + u")");
  return items_[index];
}

TParam* TParams::FindParam(std::u16string_view name) {
  for (TParam& param : items_)
    if (rtl::AnsiSameText(param.Name, name)) return &param;
  return nullptr;
}

TParam& TParams::ParamByName(std::u16string_view name) {
  if (TParam* param = FindParam(name)) return *param;
  throw rtl::EDatabaseError(u"Parameter '" + std::u16string(name) + u"' not found");
}

}  // namespace db
