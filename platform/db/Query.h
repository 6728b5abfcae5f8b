// A SQL query over a TUniConnection whose whole result is read into memory.
// Opening it connects a closed connection first.
#pragma once

#include <string>
#include <vector>

#include "platform/db/Connection.h"
#include "platform/db/DataSet.h"
#include "platform/db/Params.h"

namespace db {

enum class TCRTransactionAction { taCommit, taRollback };

// The transaction a query runs under. The queries of this system only read
// and run in the server's autocommit mode; the object records the settings.
class TUniTransaction {
 public:
  TUniConnection* DefaultConnection = nullptr;
  TCRTransactionAction DefaultCloseAction = TCRTransactionAction::taCommit;
};

class TUniQuery : public TDataSet {
 public:
  explicit TUniQuery(TUniConnection* connection = nullptr) : Connection(connection) {}

  TUniConnection* Connection;
  TUniTransaction* Transaction = nullptr;
  bool UniDirectional = false;
  struct {
    // Mark fields required from the columns' NOT NULL constraints.
    bool RequiredFields = true;
    // New records (Append, Insert) start with the defaults the server
    // declares for the columns of the updating table, as the server
    // evaluates them at that moment (one statement per new record).
    bool DefaultValues = false;
  } Options;

  const std::u16string& SQL() const { return sql_; }
  // Replacing the text of an open query closes it first. The parameters are
  // parsed again from the text; one of the same name keeps its value.
  void SetSQL(std::u16string text);
  // One parameter per distinct ":name" marker of the text, in the order of
  // first occurrence. Open writes each value as a literal in place of its
  // markers; "::" is sent as ":".
  TParams& Params() { return params_; }
  const TParams& Params() const { return params_; }

  // Active, not ReadOnly, not UniDirectional, and some field can be modified.
  bool CanModify() const override;
  // Computed at open: true when at least one field is not read-only.
  bool IsAnyFieldCanBeModified() const { return anyFieldCanBeModified_; }
  void SetIsAnyFieldCanBeModified(bool value) { anyFieldCanBeModified_ = value; }

 protected:
  std::vector<Record> OpenCursor() override;
  void InitRecord(Record& record) override;

 private:
  struct DefaultColumn {
    int Field;
    std::u16string Column;
  };

  std::u16string sql_;
  TParams params_;
  bool anyFieldCanBeModified_ = false;
  // The updating table and its columns that declare a default.
  std::u16string defaultsDatabase_;
  std::u16string defaultsTable_;
  std::vector<DefaultColumn> defaultColumns_;
};

}  // namespace db
