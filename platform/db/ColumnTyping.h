// Private to the db target: the connection's column typing rules and the
// conversion of the text protocol's cells into values.
#pragma once

#include <mysql.h>

#include <string_view>

#include "platform/db/Field.h"
#include "platform/rtl/Variant.h"

namespace db {

// The field type of a result column. The connection's own rules come first,
// in order: INT UNSIGNED -> ftLargeint; SMALLINT (signed or not) -> ftInteger;
// TINYINT (signed or not) of reported length 2..10 -> ftInteger. Otherwise
// the client's defaults, with TINYINT(1) as Boolean and, as with optimized
// BIGINT handling, BIGINT of length 11 or less and BIT below 32 bits as
// 32-bit integers.
TFieldType ColumnFieldType(const MYSQL_FIELD& column);

// The server's text forms of dates and times, also read by the date fields:
// "yyyy-mm-dd[ hh:nn:ss[.f to ffffff]]" and "[-]h:nn:ss[.f to ffffff]" (hours
// may exceed 23). Null for any other text, the zero date and invalid dates.
rtl::Variant DateTimeText(std::string_view text);
rtl::Variant TimeText(std::string_view text);

// The value of one cell of that column; nullptr cells are NULL. Decimal
// columns become doubles; zero or invalid dates become NULL.
rtl::Variant CellValue(TFieldType type, const MYSQL_FIELD& column, const char* data,
                       unsigned long length);

}  // namespace db
