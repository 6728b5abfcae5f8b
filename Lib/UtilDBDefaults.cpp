// Column defaults of TUtilDB: the declared defaults of a table written into
// the current record of a query, temporal ones only when the server's text
// is a valid value.
#include <cstdint>
#include <optional>
#include <tuple>
#include <utility>

#include "Lib/UtilDB.h"
#include "Lib/UtilDBPrivate.h"
#include "platform/db/Query.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/LocaleCase.h"
#include "platform/rtl/Text.h"

namespace {

// The server's layouts are read at fixed offsets without testing for digits:
// a digit is the low byte of the character minus 48, whatever the character.
int Digit(std::u16string_view s, size_t k) { return static_cast<std::uint8_t>(s[k]) - 48; }

std::uint16_t TwoDigits(std::u16string_view s, size_t k) {
  return static_cast<std::uint16_t>(10 * Digit(s, k) + Digit(s, k + 1));
}

std::uint16_t FourDigits(std::u16string_view s) {
  return static_cast<std::uint16_t>(1000 * Digit(s, 0) + 100 * Digit(s, 1) + 10 * Digit(s, 2) +
                                    Digit(s, 3));
}

// Two digits of year: 00 to 69 are 2000 to 2069, the rest 1900 onwards.
std::uint16_t TwoDigitYear(std::u16string_view s) {
  const std::uint16_t year = TwoDigits(s, 0);
  return static_cast<std::uint16_t>(year < 70 ? year + 2000 : year + 1900);
}

std::optional<rtl::TDateTime> ValidDate(std::uint16_t year, std::uint16_t month,
                                        std::uint16_t day) {
  try {
    return rtl::EncodeDate(year, month, day);
  } catch (const rtl::EConvertError&) {
    return std::nullopt;
  }
}

std::optional<rtl::TDateTime> ValidDateTime(std::uint16_t year, std::uint16_t month,
                                            std::uint16_t day, std::uint16_t hour,
                                            std::uint16_t minute, std::uint16_t second) {
  try {
    return rtl::EncodeDateTime(year, month, day, hour, minute, second, 0);
  } catch (const rtl::EConvertError&) {
    return std::nullopt;
  }
}

// The timestamp layout chosen by the length of s.
std::optional<rtl::TDateTime> Timestamp(std::u16string_view s) {
  switch (s.size()) {
    case 19:  // YYYY-MM-DD HH:MM:SS
      return ValidDateTime(FourDigits(s), TwoDigits(s, 5), TwoDigits(s, 8), TwoDigits(s, 11),
                           TwoDigits(s, 14), TwoDigits(s, 17));
    case 14:  // YYYYMMDDHHMMSS
      return ValidDateTime(FourDigits(s), TwoDigits(s, 4), TwoDigits(s, 6), TwoDigits(s, 8),
                           TwoDigits(s, 10), TwoDigits(s, 12));
    case 12:  // YYMMDDHHMMSS
      return ValidDateTime(TwoDigitYear(s), TwoDigits(s, 2), TwoDigits(s, 4), TwoDigits(s, 6),
                           TwoDigits(s, 8), TwoDigits(s, 10));
    case 10:  // YYMMDDHHMM
      return ValidDateTime(TwoDigitYear(s), TwoDigits(s, 2), TwoDigits(s, 4), TwoDigits(s, 6),
                           TwoDigits(s, 8), 0);
    case 8:  // YYYYMMDD
      return ValidDate(FourDigits(s), TwoDigits(s, 4), TwoDigits(s, 6));
    case 6:  // YYMMDD
      return ValidDate(TwoDigitYear(s), TwoDigits(s, 2), TwoDigits(s, 4));
    case 4:  // YYMM
      return ValidDate(TwoDigitYear(s), TwoDigits(s, 2), 1);
    case 2:  // YY
      return ValidDate(TwoDigitYear(s), 1, 1);
    default:
      throw rtl::EAssertionFailed(u"Invalid FIELD_TYPE_TIMESTAMP FieldDesc.Length (" +
                                      rtl::IntToStr(static_cast<std::int64_t>(s.size())) + u")",
                                  __FILE__, __LINE__);
  }
}

// "[-]H...:MM?SS" as days; hours of 1000 or more before the ":" are an error.
std::optional<rtl::TDateTime> Time(std::u16string_view s, std::u16string_view campo) {
  const bool negative = !s.empty() && s[0] == u'-';
  size_t colon = negative ? 1 : 0;
  std::uint32_t hours = 0;
  for (;; ++colon) {
    if (colon >= s.size()) return std::nullopt;
    if (s[colon] == u':') break;
    if (hours >= 1000)
      throw rtl::EDatabaseError(u"Wrong time format at field " + std::u16string(campo));
    hours = hours * 10 + static_cast<std::uint32_t>(Digit(s, colon));
  }
  if (colon + 5 >= s.size()) return std::nullopt;
  const std::uint32_t seconds =
      hours * 3600 + TwoDigits(s, colon + 1) * 60u + TwoDigits(s, colon + 4);
  const rtl::TDateTime days = seconds / 86400.0;
  return negative ? -days : days;
}

// Takes handlers away, in the order given, for the life of the object and
// gives them back in the same order at its end, whatever happens.
template <typename... Handler>
class Detached {
 public:
  explicit Detached(Handler&... handlers)
      : handlers_(handlers...), saved_{std::exchange(handlers, nullptr)...} {}
  ~Detached() { Restore(std::index_sequence_for<Handler...>()); }
  Detached(const Detached&) = delete;
  Detached& operator=(const Detached&) = delete;

 private:
  template <size_t... I>
  void Restore(std::index_sequence<I...>) {
    ((std::get<I>(handlers_) = std::move(std::get<I>(saved_))), ...);
  }

  std::tuple<Handler&...> handlers_;
  std::tuple<Handler...> saved_;
};

// The query's controls disabled for the life of the object.
class ControlsDisabled {
 public:
  explicit ControlsDisabled(db::TDataSet& dataSet) : dataSet_(dataSet) {
    dataSet_.DisableControls();
  }
  ~ControlsDisabled() { dataSet_.EnableControls(); }
  ControlsDisabled(const ControlsDisabled&) = delete;
  ControlsDisabled& operator=(const ControlsDisabled&) = delete;

 private:
  db::TDataSet& dataSet_;
};

}  // namespace

namespace utildb {

bool ConverterDataMySql(std::u16string_view S, std::u16string_view tipo, std::u16string_view campo,
                        rtl::TDateTime& value) {
  const std::u16string type = rtl::AnsiLowerCase(tipo);
  std::optional<rtl::TDateTime> read;
  if (type == u"timestamp") {
    read = Timestamp(S);
  } else if (type == u"datetime") {
    if (S.size() < 19) return false;
    read = ValidDateTime(FourDigits(S), TwoDigits(S, 5), TwoDigits(S, 8), TwoDigits(S, 11),
                         TwoDigits(S, 14), TwoDigits(S, 17));
  } else if (type == u"date") {
    if (S.size() < 10) return false;
    read = ValidDate(FourDigits(S), TwoDigits(S, 5), TwoDigits(S, 8));
  } else if (type == u"time") {
    read = Time(S, campo);
  } else {
    return true;
  }
  if (read) value = *read;
  return read.has_value();
}

}  // namespace utildb

void TUtilDB::SetDefaultValueFields(db::TUniQuery& AQuery, std::u16string ANomedaTabela) {
  if (AQuery.Options.DefaultValues) return;
  const std::u16string tabela =
      rtl::Trim(ANomedaTabela).empty() ? NomeTabela(AQuery.SQL()) : ANomedaTabela;
  db::TUniQuery descricao(AQuery.Connection);
  descricao.SetSQL(u"DESCRIBE " + tabela);
  descricao.Open();

  // When leaving, whatever happens: the handlers come back, then the
  // controls are enabled, then the description is closed and freed.
  const ControlsDisabled controls(AQuery);
  const Detached queryHandlers(AQuery.AfterEdit, AQuery.BeforeEdit, AQuery.AfterScroll,
                               AQuery.OnCalcFields);

  for (int i = 0; i < AQuery.Fields().Count(); ++i) {
    db::TField& field = AQuery.Fields()[i];
    if (field.FieldKind() != db::fkData) continue;
    if (!descricao.Locate(u"Field", rtl::Variant(field.FieldName()), db::loCaseInsensitive))
      continue;
    const db::TField& padrao = descricao.FieldByName(u"Default");
    if (padrao.IsNull()) continue;

    const Detached fieldHandlers(field.OnValidate, field.OnSetText, field.OnGetText);
    const std::u16string tipo = descricao.FieldByName(u"Type").AsString();
    rtl::TDateTime lido = 0;
    const bool escrever =
        !IsDateField(tipo) ||
        (!padrao.AsString().empty() &&
         utildb::ConverterDataMySql(padrao.AsString(), tipo,
                                    descricao.FieldByName(u"Field").AsString(), lido));
    // The value written is the server's text; the field converts it.
    if (escrever)
      utildb::WriteIgnoringReadOnly(field, [&] { field.SetAsVariant(padrao.AsVariant()); });
  }
}
