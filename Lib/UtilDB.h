// TUtilDB: the database utility class. Its operations are class operations
// without state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variant.h"

namespace db {
class TDataSet;
}  // namespace db

namespace rtl {
class CodePage;
struct TFormatSettings;
}  // namespace rtl

class TUtilDB {
 public:
  // Opened datasets. Clears the read-only mark of every field of ADataSet;
  // when every field had carried it (or there are none) and the dataset
  // still cannot be modified, marks the query as one whose fields can be
  // modified, so it accepts edits unless it is read-only for another reason.
  // Values, the current record and the open result stay as they were.
  static void SetFieldsReadOnlyFalse(db::TDataSet& ADataSet);
  // The same in the shape of an after-open handler.
  void DoSetFieldsReadOnlyFalse(db::TDataSet& DataSet);

  // SQL literals. Every result is a new string to paste into a MySQL
  // statement as it stands (assuming the server's default backslash escapes).

  // The literal for value: "NULL" for Empty and Null; bare digits for
  // Smallint, Integer and Byte; FloatToStrEx for Single, Double and Currency;
  // the quoted DateTimeToSqlDateEx for Date; 'Y' or 'N' for Boolean; any
  // other kind is taken to an 8-bit string in the ANSI code page (arrays as
  // their bytes) and back, escaped and single-quoted. Fails with
  // rtl::EVariantTypeCastError when the value cannot become text or bytes,
  // and with rtl::EConvertError for a date that cannot be decoded.
  static std::u16string ParamToSql(const rtl::Variant& value);
  // The same with the ANSI code page and the format settings given.
  static std::u16string ParamToSql(const rtl::Variant& value, const rtl::CodePage& ansi,
                                   const rtl::TFormatSettings& settings);
  // The same text as ParamToSql(value).
  static std::u16string ValueToSql(const rtl::Variant& value);
  // value with NUL, LF, CR, Ctrl-Z, double quote, single quote and backslash
  // written as \0 \n \r \Z \" \' \\; no quotes are added.
  static std::u16string StringToSql(std::u16string_view value);
  // "yyyy-mm-dd" for a value without fraction, "yyyy-mm-dd hh:nn:ss"
  // otherwise; "0000-00-00" in place of the date between -1 and 1 exclusive.
  static std::u16string DateTimeToSqlDateEx(rtl::TDateTime value);
  // The decoded date as "yyyy-mm-dd" (years above 9999 with all their digits).
  static std::u16string FormatSqlDate(rtl::TDateTime value);
  // The decoded time of day as "hh:nn:ss"; milliseconds are dropped.
  static std::u16string FormatSqlTime(rtl::TDateTime value);
  // The general number format with 15 digits and "." as decimal point,
  // whatever the locale: "0.0001", "1E-5", "1E15", "INF", "-INF", "NAN".
  static std::u16string FloatToStrEx(double value);
  // The decimal digits of value, zero-filled on the left to width; never cut.
  static std::u16string FormatNumber(std::uint16_t value, std::uint16_t width);
};
