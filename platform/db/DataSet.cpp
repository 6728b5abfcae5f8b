#include "platform/db/DataSet.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace db {

void TDataSet::Open() {
  if (Active()) return;
  try {
    records_ = OpenCursor();
  } catch (...) {
    fields_.fields_.clear();
    throw;
  }
  state_ = TDataSetState::dsBrowse;
  First();
  if (AfterOpen) AfterOpen(*this);
}

void TDataSet::Close() {
  if (!Active()) return;
  state_ = TDataSetState::dsInactive;
  records_.clear();
  fields_.fields_.clear();
  current_ = -1;
  eof_ = true;
}

TField* TDataSet::FindField(std::u16string_view name) const {
  const std::u16string wanted = rtl::AsciiUpperCase(name);
  for (const auto& field : fields_.fields_)
    if (rtl::AsciiUpperCase(field->FieldName()) == wanted) return field.get();
  return nullptr;
}

TField& TDataSet::FieldByName(std::u16string_view name) const {
  if (TField* field = FindField(name)) return *field;
  throw rtl::EDatabaseError(u"Field '" + std::u16string(name) + u"' not found");
}

void TDataSet::First() {
  current_ = records_.empty() ? -1 : 0;
  eof_ = records_.empty();
}

void TDataSet::Next() {
  if (current_ + 1 < RecordCount()) {
    ++current_;
  } else {
    eof_ = true;
  }
}

TField& TDataSet::AddField(TFieldType type, std::u16string name, TFieldKind kind) {
  std::unique_ptr<TField> field;
  switch (type) {
    case ftString: case ftFixedChar: case ftWideString: case ftMemo: case ftWideMemo:
      field = std::make_unique<TStringField>(*this, std::move(name), type, kind);
      break;
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc:
      field = std::make_unique<TIntegerField>(*this, std::move(name), type, kind);
      break;
    case ftLargeint:
      field = std::make_unique<TLargeintField>(*this, std::move(name), type, kind);
      break;
    case ftBoolean:
      field = std::make_unique<TBooleanField>(*this, std::move(name), type, kind);
      break;
    case ftFloat:
      field = std::make_unique<TFloatField>(*this, std::move(name), type, kind);
      break;
    case ftCurrency:
      field = std::make_unique<TCurrencyField>(*this, std::move(name), type, kind);
      break;
    case ftDateTime: case ftTime:
      field = std::make_unique<TDateTimeField>(*this, std::move(name), type, kind);
      break;
    case ftDate:
      field = std::make_unique<TDateField>(*this, std::move(name), type, kind);
      break;
    default:
      field = std::make_unique<TField>(*this, std::move(name), type, kind);
      break;
  }
  field->index_ = fields_.Count();
  fields_.fields_.push_back(std::move(field));
  return *fields_.fields_.back();
}

const rtl::Variant& TDataSet::CurrentValue(int index) const {
  static const rtl::Variant null = rtl::Variant::Null();
  if (current_ < 0 || index < 0 || index >= static_cast<int>(records_[current_].size()))
    return null;
  return records_[current_][index];
}

}  // namespace db
