// A dataset: an ordered field list over records held in memory, a current
// record, and the handlers the program hooks into.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/Field.h"
#include "platform/rtl/Variant.h"

namespace db {

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TFields {
 public:
  int Count() const { return static_cast<int>(fields_.size()); }
  TField& operator[](int index) const { return *fields_.at(index); }

 private:
  friend class TDataSet;
  std::vector<std::unique_ptr<TField>> fields_;
};

class TDataSet {
 public:
  using TDataSetNotifyEvent = std::function<void(TDataSet&)>;

  TDataSet() = default;
  virtual ~TDataSet() = default;
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  // Opens the dataset (runs AfterOpen on success); does nothing when open.
  void Open();
  // Drops the result and the fields; does nothing when closed.
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  TDataSetState State() const { return state_; }

  TFields& Fields() { return fields_; }
  const TFields& Fields() const { return fields_; }
  // The field of that name (ASCII case-insensitive), or nullptr.
  TField* FindField(std::u16string_view name) const;
  // As FindField; fails with EDatabaseError "Field '%s' not found" instead.
  TField& FieldByName(std::u16string_view name) const;

  bool IsEmpty() const { return records_.empty(); }
  int RecordCount() const { return static_cast<int>(records_.size()); }
  // Zero-based position of the current record, -1 when empty.
  int RecNo() const { return current_; }
  bool Eof() const { return eof_; }
  void First();
  void Next();

  // Whether records may be edited; see the override for the query's rules.
  virtual bool CanModify() const { return Active() && !ReadOnly; }

  bool ReadOnly = false;
  TDataSetNotifyEvent AfterOpen;

 protected:
  using Record = std::vector<rtl::Variant>;
  // Fills the fields (AddField) and returns the records.
  virtual std::vector<Record> OpenCursor() = 0;
  TField& AddField(TFieldType type, std::u16string name, TFieldKind kind = fkData);

 private:
  friend class TField;
  // The value of field index in the current record; Null when there is none.
  const rtl::Variant& CurrentValue(int index) const;

  TDataSetState state_ = TDataSetState::dsInactive;
  TFields fields_;
  std::vector<Record> records_;
  int current_ = -1;
  bool eof_ = true;
};

}  // namespace db
