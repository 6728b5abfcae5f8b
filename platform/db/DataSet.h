// A dataset: an ordered field list over records held in memory, a current
// record, the editing states and the handlers the program hooks into.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/Field.h"
#include "platform/rtl/Variant.h"

namespace db {

// dsCalcFields is the state while OnCalcFields runs.
enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsCalcFields };

enum TLocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };
// A combination of TLocateOption flags.
using TLocateOptions = unsigned;

class TFields {
 public:
  int Count() const { return static_cast<int>(fields_.size()); }
  TField& operator[](int index) const { return *fields_.at(index); }

 private:
  friend class TDataSet;
  std::vector<TField*> fields_;
};

class TDataSet {
 public:
  using TDataSetNotifyEvent = std::function<void(TDataSet&)>;

  TDataSet() = default;
  virtual ~TDataSet();
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  // Opens the dataset on its first record, computes the calculated fields,
  // then runs AfterOpen and AfterScroll; does nothing when open.
  void Open();
  // Drops the result and the data fields (an edit in progress is lost);
  // declared fields stay. Does nothing when closed.
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  TDataSetState State() const { return state_; }

  // The data fields (one per column, in column order) followed by the
  // declared fields (in declaration order).
  TFields& Fields() { return fields_; }
  const TFields& Fields() const { return fields_; }
  // Declares a calculated or lookup field while the dataset is closed. It
  // lives as long as the dataset and follows the data fields after each
  // Open. Fails with EDatabaseError when the dataset is open, for a data
  // field (those come from the columns), and for a name already declared.
  TField& CreateField(TFieldType type, std::u16string name, TFieldKind kind);
  // The field of that name (ASCII case-insensitive), or nullptr.
  TField* FindField(std::u16string_view name) const;
  // As FindField; fails with EDatabaseError "Field '%s' not found" instead.
  TField& FieldByName(std::u16string_view name) const;

  bool IsEmpty() const { return records_.empty(); }
  int RecordCount() const { return static_cast<int>(records_.size()); }
  // Zero-based position of the current record, -1 when empty.
  int RecNo() const { return current_; }
  bool Eof() const { return eof_; }
  // Moves go through Post first when editing, then run AfterScroll.
  void First();
  void Next();
  // Moves to the first record whose keyFields (names separated by ";") hold
  // keyValues (one value, or an array of one value per field). Each key is
  // converted by its field's rules; texts compare in full and exactly unless
  // options ask for loCaseInsensitive (locale-aware) or loPartialKey (prefix).
  // Returns whether a record was found; the current record stays otherwise.
  bool Locate(std::u16string_view keyFields, const rtl::Variant& keyValues, TLocateOptions options);
  // The value of resultField in the record Locate would find, without
  // moving; Null when there is none.
  rtl::Variant Lookup(std::u16string_view keyFields, const rtl::Variant& keyValues,
                      std::u16string_view resultField) const;

  // Editing. Edit copies the current record into an edit buffer (an empty
  // dataset appends instead), running BeforeEdit and AfterEdit. Append and
  // Insert start a new record at the end or before the current one. All
  // three fail with EDatabaseError "Cannot modify a read-only dataset" when
  // CanModify is false; a dataset already editing is posted first.
  void Edit();
  void Append();
  void Insert();
  // Keeps the edit buffer as the current record in this dataset's memory
  // only and returns to browsing. Nothing is sent to the server: the record
  // is NOT saved, and the next Open reads the server's rows again.
  void Post();
  // Drops the edit buffer and returns to browsing.
  void Cancel();

  // Nestable; no data-aware controls exist here, so the count is all there is.
  void DisableControls() { ++disabledControls_; }
  void EnableControls() {
    if (disabledControls_ > 0) --disabledControls_;
  }
  bool ControlsDisabled() const { return disabledControls_ > 0; }

  // Whether records may be edited; see the override for the query's rules.
  virtual bool CanModify() const { return Active() && !ReadOnly; }

  bool ReadOnly = false;
  // Recompute calculated and lookup fields after each write of a data field.
  bool AutoCalcFields = true;
  TDataSetNotifyEvent AfterOpen;
  TDataSetNotifyEvent BeforeEdit;
  TDataSetNotifyEvent AfterEdit;
  // Runs after the current record has changed.
  TDataSetNotifyEvent AfterScroll;
  // Runs whenever the calculated fields of the current record are computed
  // (after a move, a new record, a post and, with AutoCalcFields, a write of
  // a data field), in state dsCalcFields in which calculated fields accept
  // writes. Runs only when the dataset has calculated or lookup fields.
  TDataSetNotifyEvent OnCalcFields;

 protected:
  using Record = std::vector<rtl::Variant>;
  // Fills the data fields (AddField) and returns the records.
  virtual std::vector<Record> OpenCursor() = 0;
  // Fills a new record's data values (all Null when called).
  virtual void InitRecord(Record& record) { (void)record; }
  TField& AddField(TFieldType type, std::u16string name);

 private:
  friend class TField;
  static std::unique_ptr<TField> MakeField(TDataSet& dataSet, TFieldType type, std::u16string name,
                                           TFieldKind kind);
  // The value of field index in the current record; Null when there is none.
  const rtl::Variant& CurrentValue(int index) const;
  // Where a write of field goes now; nullptr when nothing can be written.
  rtl::Variant* ValueSlot(const TField& field);
  // Fails unless field may be written now.
  void CheckWrite(const TField& field) const;
  void FieldChanged(const TField& field);
  void CheckActive() const;
  void CheckCanModify() const;
  // Posts an edit in progress.
  void CheckBrowseMode();
  void StartInsert(int position);
  // Recomputes the calculated and lookup fields; clear drops their old values.
  void CalculateFields(bool clear);
  void Scrolled();
  int FindRecord(std::u16string_view keyFields, const rtl::Variant& keyValues,
                 TLocateOptions options) const;
  void RebuildFieldList();

  TDataSetState state_ = TDataSetState::dsInactive;
  TFields fields_;
  std::vector<std::unique_ptr<TField>> dataFields_;
  std::vector<std::unique_ptr<TField>> declaredFields_;
  std::vector<Record> records_;
  // Calculated and lookup values of the current record, by field index.
  std::vector<rtl::Variant> calcValues_;
  std::optional<Record> editBuffer_;
  int insertPosition_ = -1;
  int current_ = -1;
  bool eof_ = true;
  int disabledControls_ = 0;
};

}  // namespace db
