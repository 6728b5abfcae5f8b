// Dataset fields: name, type, kind, read-only mark and typed access to the
// value of the dataset's current record.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variant.h"

namespace db {

// The field types, in their fixed order (ordinals 0 to 51).
enum TFieldType : std::uint8_t {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
  ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
  ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
  ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant,
  ftInterface, ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd, ftFixedWideChar, ftWideMemo,
  ftOraTimeStamp, ftOraInterval, ftLongWord, ftShortint, ftByte, ftExtended, ftConnection,
  ftParams, ftStream, ftTimeStampOffset, ftObject, ftSingle
};

enum TFieldKind : std::uint8_t { fkData, fkCalculated, fkLookup };

class TDataSet;

class TField {
 public:
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

  // Reads of the current record; a closed or empty dataset reads as NULL.
  bool IsNull() const;
  rtl::Variant AsVariant() const;
  // NULL reads as the empty text.
  std::u16string AsString() const;
  // NULL reads as 0; other kinds convert as the variant rules say.
  double AsFloat() const;
  rtl::TDateTime AsDateTime() const;
  std::int32_t AsInteger() const;
  std::int64_t AsLargeInt() const;

 private:
  friend class TDataSet;
  TDataSet& dataSet_;
  std::u16string name_;
  TFieldType type_;
  TFieldKind kind_;
  bool readOnly_ = false;
  int index_ = -1;
};

// One class per value type, chosen from the column typing at open.
class TStringField : public TField { using TField::TField; };
class TIntegerField : public TField { using TField::TField; };
class TLargeintField : public TField { using TField::TField; };
class TBooleanField : public TField { using TField::TField; };
class TFloatField : public TField { using TField::TField; };
class TCurrencyField : public TField { using TField::TField; };
class TDateTimeField : public TField { using TField::TField; };
class TDateField : public TDateTimeField { using TDateTimeField::TDateTimeField; };

}  // namespace db
