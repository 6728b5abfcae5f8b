#include "platform/db/Query.h"

#include <memory>

#include "platform/db/ColumnTyping.h"
#include "platform/db/MySql.h"
#include "platform/rtl/Exception.h"
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

}  // namespace

void TUniQuery::SetSQL(std::u16string text) {
  Close();
  sql_ = std::move(text);
}

bool TUniQuery::CanModify() const {
  return Active() && !ReadOnly && !UniDirectional && anyFieldCanBeModified_;
}

std::vector<TDataSet::Record> TUniQuery::OpenCursor() {
  if (!Connection) throw rtl::EDatabaseError(u"Connection is not active");
  // Opening a query on a closed connection connects it, as the access layer does.
  if (!Connection->Connected()) Connection->Connect();
  MYSQL* handle = Connection->impl_->handle;
  const std::string statement = rtl::Utf16ToUtf8(sql_);
  if (mysql_real_query(handle, statement.data(), statement.size()) != 0) RaiseMySqlError(handle);
  Result result(mysql_store_result(handle), mysql_free_result);
  if (!result) {
    if (mysql_field_count(handle) != 0) RaiseMySqlError(handle);
    DrainResults(handle);
    throw rtl::EDatabaseError(u"The statement returned no result set");
  }
  DrainResults(handle);

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
  for (unsigned i = 0; i < columnCount; ++i) {
    const MYSQL_FIELD& column = columns[i];
    types[i] = ColumnFieldType(column);
    TField& field = AddField(types[i], Text(column.name, column.name_length));
    const std::u16string table = Text(column.org_table, column.org_table_length);
    field.SetReadOnly(table.empty() || table != updatingTable ||
                      Text(column.db, column.db_length) != updatingDb);
    field.Required = Options.RequiredFields && (column.flags & NOT_NULL_FLAG);
    anyFieldCanBeModified_ = anyFieldCanBeModified_ || !field.ReadOnly();
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

}  // namespace db
