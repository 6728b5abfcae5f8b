#include "platform/db/Field.h"

#include "platform/db/DataSet.h"

namespace db {

TField::TField(TDataSet& dataSet, std::u16string name, TFieldType type, TFieldKind kind)
    : dataSet_(dataSet), name_(std::move(name)), type_(type), kind_(kind) {}

rtl::Variant TField::AsVariant() const { return dataSet_.CurrentValue(index_); }

bool TField::IsNull() const {
  const rtl::Variant& value = dataSet_.CurrentValue(index_);
  return value.IsNull() || value.IsEmpty();
}

std::u16string TField::AsString() const {
  return IsNull() ? std::u16string() : rtl::VarToUnicodeString(dataSet_.CurrentValue(index_));
}

double TField::AsFloat() const {
  return IsNull() ? 0.0 : rtl::VarToDouble(dataSet_.CurrentValue(index_));
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

}  // namespace db
