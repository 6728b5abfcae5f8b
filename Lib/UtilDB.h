// TUtilDB: the database utility class. Its operations are class operations
// without state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Lib/ParamsTratado.h"
#include "platform/os/ServiceManager.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variant.h"

namespace db {
class TDataSet;
class TUniConnection;
class TUniQuery;
class TStringField;
class TIntegerField;
class TDateTimeField;
class TDateField;
class TCurrencyField;
class TFloatField;
enum TFieldType : std::uint8_t;
}  // namespace db

namespace rtl {
class CodePage;
struct TFormatSettings;
}  // namespace rtl

// The server flavour and its default storage engine, as the server
// inspections report them; the first member of each is the neutral result.
enum TBancoConfigurado : std::uint8_t { bcMySql4, bcMySql8, bcMariaDB };
enum TBancoEngine : std::uint8_t { bcMyISAM, bcInnoDB };

class TUtilDB {
  // Helpers of RemoverParametrosDuplicados. OrdenarListaParams sorts the
  // occurrences by Indice; ListarDuplicados sorts them and gives, in
  // increasing order, the indices of those whose name occurs at a lower index.
  static void OrdenarListaParams(std::vector<TParamsTratado>& Lista);
  static TArrayOfInteger ListarDuplicados(std::vector<TParamsTratado>& Lista);

 public:
  // Server inspection and service control.

  // The flavour from "select @@GLOBAL.version": bcMariaDB when the version
  // text contains "mariadb" (A-Z lower-cased), else bcMySql8 when it contains
  // "8.0", else bcMySql4. On a failure returns bcMySql4, or with bExcecao
  // raises rtl::Exception with the inspection prefix before its message.
  static TBancoConfigurado GetBancoConfigurado(db::TUniConnection& Conexao, bool bExcecao);
  // The default engine of a flavour other than bcMySql4 (which gives
  // bcMyISAM without asking): bcMyISAM when its name contains "myisam",
  // else bcInnoDB when it contains "innodb", else bcMyISAM. Failures as
  // above; one passing through GetBancoConfigurado carries the prefix twice.
  static TBancoEngine GetBancoConfiguradoEngine(db::TUniConnection& Conexao, bool bExcecao);
  // MariaDB with InnoDB as its default engine; never raises.
  static bool isBancoEngineValidos(db::TUniConnection& Conexao);
  // Data plus index size in megabytes, rounded to two decimals (halves to
  // even), of the first table of Conexao.Database matching the LIKE pattern
  // TableName ("%" and "_" are wildcards). The database name and the pattern
  // are quoted, so neither can change the statement. 0 on any failure and
  // for no table.
  static double GetSizeTableMB(db::TUniConnection& Conexao, const std::u16string& TableName);
  // GetSizeTableMB / 1024, rounded to two decimals.
  static double GetSizeTableGB(db::TUniConnection& Conexao, const std::u16string& TableName);
  // Whether ServiceName on Host ("" for this computer) is running. Fails with
  // rtl::EOSError when the manager or the service cannot be opened; a state
  // that cannot be read gives false.
  static bool IsServiceRunning(const std::u16string& Host, const std::u16string& ServiceName);
  static bool IsServiceRunning(os::ServiceManager& manager, const std::u16string& Host,
                               const std::u16string& ServiceName);
  // Starts ServiceName on Host and then sleeps 5000 ms. Fails with
  // rtl::EOSError when the manager or the service cannot be opened or the
  // start is refused (also when the service already runs).
  static void StartServiceUtil(const std::u16string& Host, const std::u16string& ServiceName);
  static void StartServiceUtil(os::ServiceManager& manager, const os::SleepFunction& sleep,
                               const std::u16string& Host, const std::u16string& ServiceName);
  // Makes sure the flavour's service runs on the hosts: "MariaDB" for
  // bcMariaDB, else "MySql" and, only when that fails everywhere, "MySql4".
  // Every host is visited in order, blank ones skipped; a host whose check or
  // start fails does not count. True when the service runs, or was started,
  // on at least one host. Never raises for a host.
  static bool EnsureDBServiceRunning(TBancoConfigurado ABancoConfigurado,
                                     const std::vector<std::u16string>& AHosts);
  static bool EnsureDBServiceRunning(os::ServiceManager& manager, const os::SleepFunction& sleep,
                                     TBancoConfigurado ABancoConfigurado,
                                     const std::vector<std::u16string>& AHosts);

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

  // Field and statement utilities.

  // Writes Value through the field's AsString, AsInteger, AsDateTime,
  // AsCurrency (Value x 10 000 rounded halves to even) or AsFloat, also into
  // a read-only field: its mark is lifted for the write and set again after
  // it, also when the write raises. The field's own rules apply (conversion,
  // OnValidate, the dataset's editing state); what they raise propagates.
  static void SetValueFieldReadOnly(db::TStringField& Field, std::u16string Value);
  static void SetValueFieldReadOnly(db::TIntegerField& Field, std::int32_t Value);
  static void SetValueFieldReadOnly(db::TDateTimeField& Field, rtl::TDateTime Value);
  static void SetValueFieldReadOnly(db::TDateField& Field, std::u16string Value);
  static void SetValueFieldReadOnly(db::TDateField& Field, rtl::TDateTime Value);
  static void SetValueFieldReadOnly(db::TCurrencyField& Field, double Value);
  static void SetValueFieldReadOnly(db::TFloatField& Field, double Value);
  // "ftUnknown" to "ftCursor" for ordinals 0 to 22, "ftLargeint" for 25; the
  // empty text for every other ordinal.
  static std::u16string TipodoCampo(db::TFieldType tipo);
  // Whether a column type as the server describes it is exactly (after
  // locale-aware lower-casing) "date", "datetime", "timestamp", "year" or
  // "time"; "datetime(6)" and " date" are not.
  static bool IsDateField(std::u16string tipo);
  // The name after the first "from" (ASCII case-insensitive, also inside a
  // word): the character right after "from" is passed over, then spaces, CR
  // and LF, then A-Z, a-z, 0-9 and "_" are taken in their case. Without
  // "from" the scan starts at the fifth character. The empty text when
  // nothing such follows.
  static std::u16string NomeTabela(std::u16string ASql);
  // The space-separated piece after the first piece "into" (line breaks
  // count as spaces, case ignored), trimmed and cut before its first "(";
  // quotes and database prefixes stay. The empty text when there is none.
  static std::u16string GetTableNameFromInsert(std::u16string sqlInsert);

  // Column defaults.

  // Writes into AQuery's current record the default that "DESCRIBE
  // ANomedaTabela" declares for the column of each data field's name (case
  // ignored); when ANomedaTabela is blank, the table is NomeTabela of the
  // query's text. Columns without a default (NULL) are left alone; a
  // temporal column's default only when ConverterDataMySql finds it valid.
  // The server's default text goes through the field's AsVariant, read-only
  // fields included. Calculated and lookup fields are never written. Does
  // nothing when AQuery.Options.DefaultValues is set. Neither starts nor
  // posts an edit: the writes follow the dataset's state. While it runs the
  // query's AfterEdit, BeforeEdit, AfterScroll and OnCalcFields, each
  // written field's OnValidate, OnSetText and OnGetText are detached and the
  // controls disabled; all come back on every path. Failures of the
  // description propagate with AQuery untouched; a failure at a field (the
  // parser's or the field's) propagates with the fields before it written.
  static void SetDefaultValueFields(db::TUniQuery& AQuery, std::u16string ANomedaTabela);

  // Duplicate parameters.

  // Assigns Params, one value per ":name" marker of oQuery's text in the
  // order of the markers, to oQuery's parameters (one per distinct name, in
  // the order of first occurrence): the values of the second and later
  // markers of a name are dropped, the others go to the parameters in order.
  // Markers are those the query reads: whole names, outside quotes and
  // comments. Values beyond the last marker go on to the next parameters;
  // more values than parameters fail with rtl::EListError "List index out of
  // bounds (%d)" after the earlier ones are assigned; parameters after the
  // last value keep theirs.
  static void RemoverParametrosDuplicados(db::TUniQuery& oQuery,
                                          const std::vector<rtl::Variant>& Params);
};
