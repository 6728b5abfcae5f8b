// Dataset fields: name, type, kind, read-only mark, handlers and typed access
// to the value of the dataset's current record.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variant.h"

namespace db {

// The field types, in their fixed order (ordinals 0 to 51).
// clang-format off
enum TFieldType : std::uint8_t {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
  ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
  ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
  ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant,
  ftInterface, ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd, ftFixedWideChar, ftWideMemo,
  ftOraTimeStamp, ftOraInterval, ftLongWord, ftShortint, ftByte, ftExtended, ftConnection,
  ftParams, ftStream, ftTimeStampOffset, ftObject, ftSingle
};
// clang-format on

// Data fields hold a column of the records; calculated fields get their value
// from OnCalcFields; lookup fields from a record of another dataset.
enum TFieldKind : std::uint8_t { fkData, fkCalculated, fkLookup };

class TDataSet;

class TField {
 public:
  using TFieldNotifyEvent = std::function<void(TField&)>;
  using TFieldSetTextEvent = std::function<void(TField&, const std::u16string&)>;
  // (field, text to show, whether it is the display text); text comes in empty.
  using TFieldGetTextEvent = std::function<void(const TField&, std::u16string&, bool)>;

  TField(TDataSet& dataSet, std::u16string name, TFieldType type, TFieldKind kind);
  virtual ~TField() = default;
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::u16string& FieldName() const { return name_; }
  TFieldType DataType() const { return type_; }
  TFieldKind FieldKind() const { return kind_; }
  TDataSet& DataSet() const { return dataSet_; }
  // Position in the dataset's field list.
  int Index() const { return index_; }

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  // Set at open from the column's NOT NULL constraint when the dataset asks for it.
  bool Required = false;

  // Runs on every write, after the value is converted and before the write
  // is final; the field already reads the new value. Raising undoes the write.
  TFieldNotifyEvent OnValidate;
  // Runs in place of AsString's conversion when Text is written.
  TFieldSetTextEvent OnSetText;
  // Gives the text that Text and DisplayText read.
  TFieldGetTextEvent OnGetText;

  // Lookup fields: the value is LookupResultField of the first record of
  // LookupDataSet whose LookupKeyFields equal this dataset's KeyFields (field
  // names separated by ";"); Null when there is none.
  TDataSet* LookupDataSet = nullptr;
  std::u16string KeyFields;
  std::u16string LookupKeyFields;
  std::u16string LookupResultField;

  // Reads of the current record (the edit buffer while editing); a closed or
  // empty dataset reads as NULL.
  bool IsNull() const;
  rtl::Variant AsVariant() const;
  // NULL reads as the empty text.
  std::u16string AsString() const;
  // NULL reads as 0 (false); other kinds convert as the variant rules say.
  double AsFloat() const;
  rtl::Currency AsCurrency() const;
  rtl::TDateTime AsDateTime() const;
  std::int32_t AsInteger() const;
  std::int64_t AsLargeInt() const;
  bool AsBoolean() const;
  // OnGetText's text (display text false resp. true), else AsString.
  std::u16string Text() const;
  std::u16string DisplayText() const;

  // Writes convert the value by the field's own rules (see the classes
  // below), then store it. They fail with EDatabaseError "Field '%s' cannot
  // be modified" for a read-only field, and for a calculated or lookup field
  // outside OnCalcFields; with "Dataset not in edit or insert mode" when the
  // dataset is neither editing nor inserting; with the conversion's own
  // error when the value does not fit the field.
  void SetAsVariant(const rtl::Variant& value);
  void SetAsString(std::u16string_view value);
  void SetAsFloat(double value);
  void SetAsCurrency(rtl::Currency value);
  void SetAsDateTime(rtl::TDateTime value);
  void SetAsInteger(std::int32_t value);
  void SetAsLargeInt(std::int64_t value);
  void SetAsBoolean(bool value);
  void Clear();
  // OnSetText when assigned, else SetAsString.
  void SetText(std::u16string_view value);

 protected:
  // The value this field stores for value. Null and Empty become Null; the
  // base class keeps every other value as it is.
  virtual rtl::Variant Convert(const rtl::Variant& value) const;

 private:
  friend class TDataSet;
  // Checks that the field may be written, converts value and stores it.
  void Write(const rtl::Variant& value);
  std::u16string GetText(bool display) const;

  TDataSet& dataSet_;
  std::u16string name_;
  TFieldType type_;
  TFieldKind kind_;
  bool readOnly_ = false;
  int index_ = -1;
};

// One class per value type, chosen from the column typing at open. Texts are
// read as the platform reads them; the empty text is Null for every field
// but a string field.

// Any value as its text.
class TStringField : public TField {
  using TField::TField;

 protected:
  rtl::Variant Convert(const rtl::Variant& value) const override;
};

// 32-bit integers. Texts as StrToInt reads them; floats round halves to even.
class TIntegerField : public TField {
  using TField::TField;

 protected:
  rtl::Variant Convert(const rtl::Variant& value) const override;
};

// 64-bit integers, converted as TIntegerField.
class TLargeintField : public TField {
  using TField::TField;

 protected:
  rtl::Variant Convert(const rtl::Variant& value) const override;
};

// Booleans: "True" or "False" in any case; numbers, also as integer texts,
// are true when not 0.
class TBooleanField : public TField {
  using TField::TField;

 protected:
  rtl::Variant Convert(const rtl::Variant& value) const override;
};

// Doubles. Texts with the process's decimal separator.
class TFloatField : public TField {
  using TField::TField;

 protected:
  rtl::Variant Convert(const rtl::Variant& value) const override;
};

// Amounts, held as the double nearest to the currency value written.
class TCurrencyField : public TFloatField {
  using TFloatField::TFloatField;
};

// Dates and times. Texts in the server's forms "yyyy-mm-dd[ hh:nn:ss[.ffffff]]"
// or "[-]h:nn:ss" (hours may exceed 23); numbers as day counts.
class TDateTimeField : public TField {
  using TField::TField;

 protected:
  rtl::Variant Convert(const rtl::Variant& value) const override;
};

// Dates: as TDateTimeField, the time of day dropped.
class TDateField : public TDateTimeField {
  using TDateTimeField::TDateTimeField;

 protected:
  rtl::Variant Convert(const rtl::Variant& value) const override;
};

}  // namespace db
