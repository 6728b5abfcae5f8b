// A SQL query over a TUniConnection whose whole result is read into memory.
// Opening it connects a closed connection first.
#pragma once

#include <string>

#include "platform/db/Connection.h"
#include "platform/db/DataSet.h"

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
  } Options;

  const std::u16string& SQL() const { return sql_; }
  // Replacing the text of an open query closes it first.
  void SetSQL(std::u16string text);

  // Active, not ReadOnly, not UniDirectional, and some field can be modified.
  bool CanModify() const override;
  // Computed at open: true when at least one field is not read-only.
  bool IsAnyFieldCanBeModified() const { return anyFieldCanBeModified_; }
  void SetIsAnyFieldCanBeModified(bool value) { anyFieldCanBeModified_ = value; }

 protected:
  std::vector<Record> OpenCursor() override;

 private:
  std::u16string sql_;
  bool anyFieldCanBeModified_ = false;
};

}  // namespace db
