#include "platform/db/DataSet.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/LocaleCase.h"
#include "platform/rtl/Text.h"

namespace db {
namespace {

bool IsText(const rtl::Variant& value) {
  const rtl::TVarType type = value.Target().VarType();
  return type == rtl::varUString || type == rtl::varOleStr || type == rtl::varString;
}

bool IsInteger(const rtl::Variant& value) {
  switch (value.Target().VarType()) {
    case rtl::varSmallint:
    case rtl::varInteger:
    case rtl::varShortInt:
    case rtl::varByte:
    case rtl::varWord:
    case rtl::varLongWord:
    case rtl::varInt64:
      return true;
    default:
      return false;
  }
}

bool IsNullOrEmpty(const rtl::Variant& value) {
  return value.Target().IsNull() || value.Target().IsEmpty();
}

std::vector<std::u16string_view> SplitNames(std::u16string_view names) {
  std::vector<std::u16string_view> parts;
  for (size_t start = 0;;) {
    const size_t end = names.find(u';', start);
    parts.push_back(names.substr(start, end == names.npos ? names.npos : end - start));
    if (end == names.npos) return parts;
    start = end + 1;
  }
}

// One key already converted by its field's rules; a text key keeps the form
// it is compared in.
struct Key {
  const TField* field = nullptr;
  rtl::Variant value;
  bool text = false;
  std::u16string compared;
};

bool Matches(const rtl::Variant& stored, const Key& key, TLocateOptions options) {
  if (IsNullOrEmpty(key.value)) return IsNullOrEmpty(stored);
  if (IsNullOrEmpty(stored)) return false;
  // Integers compare exactly, beyond the 53 bits of a double.
  if (IsInteger(stored) && IsInteger(key.value))
    return rtl::VarToInt64(stored) == rtl::VarToInt64(key.value);
  if (!key.text) return rtl::VarToDouble(stored) == rtl::VarToDouble(key.value);
  std::u16string value = rtl::VarToUnicodeString(stored);
  if (options & loCaseInsensitive) value = rtl::AnsiLowerCase(value);
  if (options & loPartialKey) return value.starts_with(key.compared);
  return value == key.compared;
}

rtl::EDatabaseError NotEditing() {
  return rtl::EDatabaseError(u"Dataset not in edit or insert mode");
}

}  // namespace

TDataSet::~TDataSet() = default;

void TDataSet::Open() {
  if (Active()) return;
  try {
    records_ = OpenCursor();
    for (const auto& declared : declaredFields_)
      for (const auto& data : dataFields_)
        if (rtl::AsciiUpperCase(data->FieldName()) == rtl::AsciiUpperCase(declared->FieldName()))
          throw rtl::EDatabaseError(u"Duplicate field name '" + declared->FieldName() + u"'");
  } catch (...) {
    records_.clear();
    dataFields_.clear();
    RebuildFieldList();
    throw;
  }
  RebuildFieldList();
  state_ = TDataSetState::dsBrowse;
  current_ = records_.empty() ? -1 : 0;
  eof_ = records_.empty();
  CalculateFields(true);
  if (AfterOpen) AfterOpen(*this);
  if (AfterScroll) AfterScroll(*this);
}

void TDataSet::Close() {
  if (!Active()) return;
  state_ = TDataSetState::dsInactive;
  records_.clear();
  dataFields_.clear();
  editBuffer_.reset();
  RebuildFieldList();
  current_ = -1;
  eof_ = true;
}

TField& TDataSet::CreateField(TFieldType type, std::u16string name, TFieldKind kind) {
  if (Active()) throw rtl::EDatabaseError(u"Cannot perform this operation on an open dataset");
  if (kind == fkData)
    throw rtl::EDatabaseError(u"Data field '" + name +
                              u"' can only come from the dataset's columns");
  if (FindField(name)) throw rtl::EDatabaseError(u"Duplicate field name '" + name + u"'");
  declaredFields_.push_back(MakeField(*this, type, std::move(name), kind));
  RebuildFieldList();
  return *declaredFields_.back();
}

TField* TDataSet::FindField(std::u16string_view name) const {
  const std::u16string wanted = rtl::AsciiUpperCase(name);
  for (TField* field : fields_.fields_)
    if (rtl::AsciiUpperCase(field->FieldName()) == wanted) return field;
  return nullptr;
}

TField& TDataSet::FieldByName(std::u16string_view name) const {
  if (TField* field = FindField(name)) return *field;
  throw rtl::EDatabaseError(u"Field '" + std::u16string(name) + u"' not found");
}

void TDataSet::First() {
  CheckBrowseMode();
  current_ = records_.empty() ? -1 : 0;
  eof_ = records_.empty();
  Scrolled();
}

void TDataSet::Next() {
  CheckBrowseMode();
  if (current_ + 1 >= RecordCount()) {
    eof_ = true;
    return;
  }
  ++current_;
  Scrolled();
}

bool TDataSet::Locate(std::u16string_view keyFields, const rtl::Variant& keyValues,
                      TLocateOptions options) {
  CheckBrowseMode();
  const int found = FindRecord(keyFields, keyValues, options);
  if (found < 0) return false;
  current_ = found;
  eof_ = false;
  Scrolled();
  return true;
}

rtl::Variant TDataSet::Lookup(std::u16string_view keyFields, const rtl::Variant& keyValues,
                              std::u16string_view resultField) const {
  CheckActive();
  const TField& result = FieldByName(resultField);
  if (result.FieldKind() != fkData)
    throw rtl::EDatabaseError(u"Field '" + result.FieldName() + u"' is not a data field");
  const int found = FindRecord(keyFields, keyValues, 0);
  return found < 0 ? rtl::Variant::Null() : records_[found][result.Index()];
}

void TDataSet::Edit() {
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return;
  CheckBrowseMode();
  CheckCanModify();
  if (records_.empty()) {
    StartInsert(0);
    return;
  }
  if (BeforeEdit) BeforeEdit(*this);
  editBuffer_ = records_[current_];
  state_ = TDataSetState::dsEdit;
  if (AfterEdit) AfterEdit(*this);
}

void TDataSet::Append() {
  CheckBrowseMode();
  CheckCanModify();
  StartInsert(RecordCount());
}

void TDataSet::Insert() {
  CheckBrowseMode();
  CheckCanModify();
  StartInsert(current_ < 0 ? 0 : current_);
}

void TDataSet::Post() {
  CheckActive();
  if (state_ == TDataSetState::dsEdit) {
    records_[current_] = std::move(*editBuffer_);
  } else if (state_ == TDataSetState::dsInsert) {
    records_.insert(records_.begin() + insertPosition_, std::move(*editBuffer_));
    current_ = insertPosition_;
  } else {
    throw NotEditing();
  }
  editBuffer_.reset();
  state_ = TDataSetState::dsBrowse;
  eof_ = false;
}

void TDataSet::Cancel() {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  editBuffer_.reset();
  state_ = TDataSetState::dsBrowse;
  eof_ = records_.empty();
  CalculateFields(true);
}

TField& TDataSet::AddField(TFieldType type, std::u16string name) {
  dataFields_.push_back(MakeField(*this, type, std::move(name), fkData));
  dataFields_.back()->index_ = static_cast<int>(dataFields_.size()) - 1;
  return *dataFields_.back();
}

std::unique_ptr<TField> TDataSet::MakeField(TDataSet& dataSet, TFieldType type, std::u16string name,
                                            TFieldKind kind) {
  switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftWideMemo:
      return std::make_unique<TStringField>(dataSet, std::move(name), type, kind);
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return std::make_unique<TIntegerField>(dataSet, std::move(name), type, kind);
    case ftLargeint:
      return std::make_unique<TLargeintField>(dataSet, std::move(name), type, kind);
    case ftBoolean:
      return std::make_unique<TBooleanField>(dataSet, std::move(name), type, kind);
    case ftFloat:
      return std::make_unique<TFloatField>(dataSet, std::move(name), type, kind);
    case ftCurrency:
      return std::make_unique<TCurrencyField>(dataSet, std::move(name), type, kind);
    case ftDateTime:
    case ftTime:
      return std::make_unique<TDateTimeField>(dataSet, std::move(name), type, kind);
    case ftDate:
      return std::make_unique<TDateField>(dataSet, std::move(name), type, kind);
    default:
      return std::make_unique<TField>(dataSet, std::move(name), type, kind);
  }
}

const rtl::Variant& TDataSet::CurrentValue(int index) const {
  static const rtl::Variant null = rtl::Variant::Null();
  if (index < 0 || index >= fields_.Count()) return null;
  if (fields_.fields_[index]->FieldKind() != fkData)
    return index < static_cast<int>(calcValues_.size()) ? calcValues_[index] : null;
  const Record* record = editBuffer_     ? &*editBuffer_
                         : current_ >= 0 ? &records_[current_]
                                         : nullptr;
  if (!record || index >= static_cast<int>(record->size())) return null;
  return (*record)[index];
}

rtl::Variant* TDataSet::ValueSlot(const TField& field) {
  const int index = field.Index();
  if (field.FieldKind() != fkData)
    return index < static_cast<int>(calcValues_.size()) ? &calcValues_[index] : nullptr;
  if (!editBuffer_ || index >= static_cast<int>(editBuffer_->size())) return nullptr;
  return &(*editBuffer_)[index];
}

void TDataSet::CheckWrite(const TField& field) const {
  const bool calculating = state_ == TDataSetState::dsCalcFields;
  if (field.ReadOnly() || (field.FieldKind() != fkData && !calculating))
    throw rtl::EDatabaseError(u"Field '" + field.FieldName() + u"' cannot be modified");
  if (field.FieldKind() == fkData && state_ != TDataSetState::dsEdit &&
      state_ != TDataSetState::dsInsert)
    throw NotEditing();
}

void TDataSet::FieldChanged(const TField& field) {
  if (field.FieldKind() == fkData && AutoCalcFields) CalculateFields(false);
}

void TDataSet::CheckActive() const {
  if (!Active()) throw rtl::EDatabaseError(u"Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) throw rtl::EDatabaseError(u"Cannot modify a read-only dataset");
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  // The handler computes one record; it may not move or edit the dataset.
  if (state_ == TDataSetState::dsCalcFields)
    throw rtl::EDatabaseError(u"Cannot perform this operation while fields are calculated");
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) Post();
}

void TDataSet::StartInsert(int position) {
  Record record(dataFields_.size(), rtl::Variant::Null());
  InitRecord(record);
  editBuffer_ = std::move(record);
  insertPosition_ = position;
  state_ = TDataSetState::dsInsert;
  eof_ = false;
  Scrolled();
}

void TDataSet::CalculateFields(bool clear) {
  if (declaredFields_.empty()) return;
  for (const auto& field : declaredFields_) {
    rtl::Variant& value = calcValues_[field->Index()];
    if (clear) value = rtl::Variant::Null();
    if (field->FieldKind() != fkLookup) continue;
    value = rtl::Variant::Null();
    if (!field->LookupDataSet || !field->LookupDataSet->Active()) continue;
    std::vector<rtl::Variant> keys;
    bool anyNull = false;
    for (std::u16string_view name : SplitNames(field->KeyFields)) {
      keys.push_back(FieldByName(name).AsVariant());
      anyNull = anyNull || IsNullOrEmpty(keys.back());
    }
    if (anyNull) continue;
    value = field->LookupDataSet->Lookup(
        field->LookupKeyFields,
        keys.size() == 1 ? keys[0] : rtl::Variant::Array(rtl::varVariant, std::move(keys)),
        field->LookupResultField);
  }
  if (!OnCalcFields) return;
  const TDataSetState saved = state_;
  state_ = TDataSetState::dsCalcFields;
  try {
    OnCalcFields(*this);
  } catch (...) {
    state_ = saved;
    throw;
  }
  state_ = saved;
}

void TDataSet::Scrolled() {
  CalculateFields(true);
  if (AfterScroll) AfterScroll(*this);
}

int TDataSet::FindRecord(std::u16string_view keyFields, const rtl::Variant& keyValues,
                         TLocateOptions options) const {
  const std::vector<std::u16string_view> names = SplitNames(keyFields);
  const std::vector<rtl::Variant>& values =
      names.size() == 1 ? std::vector<rtl::Variant>{keyValues} : keyValues.ArrayElements();
  if (values.size() != names.size())
    throw rtl::EDatabaseError(u"Wrong number of key values for '" + std::u16string(keyFields) +
                              u"'");
  std::vector<Key> keys;
  for (size_t i = 0; i < names.size(); ++i) {
    const TField& field = FieldByName(names[i]);
    if (field.FieldKind() != fkData)
      throw rtl::EDatabaseError(u"Field '" + field.FieldName() + u"' is not a data field");
    Key key;
    key.field = &field;
    key.value = field.Convert(values[i]);
    key.text = IsText(key.value);
    if (key.text) {
      key.compared = rtl::VarToUnicodeString(key.value);
      if (options & loCaseInsensitive) key.compared = rtl::AnsiLowerCase(key.compared);
    }
    keys.push_back(std::move(key));
  }
  for (int r = 0; r < RecordCount(); ++r) {
    bool all = true;
    for (const Key& key : keys) all = all && Matches(records_[r][key.field->Index()], key, options);
    if (all) return r;
  }
  return -1;
}

void TDataSet::RebuildFieldList() {
  fields_.fields_.clear();
  for (const auto& field : dataFields_) fields_.fields_.push_back(field.get());
  for (const auto& field : declaredFields_) fields_.fields_.push_back(field.get());
  for (size_t i = 0; i < fields_.fields_.size(); ++i)
    fields_.fields_[i]->index_ = static_cast<int>(i);
  calcValues_.assign(fields_.fields_.size(), rtl::Variant::Null());
}

}  // namespace db
