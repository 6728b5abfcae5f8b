// The throwaway MariaDB of scripts/test-db, as the database tests use it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/db/Connection.h"

namespace testdb {

struct Server {
  std::u16string Host;
  int Port = 0;
  std::u16string User;
  std::u16string Password;
};

// The server that scripts/test-db exported, or nothing when it is not running.
std::optional<Server> ServerFromEnvironment();

// A connection to the throwaway server; Database may be empty.
void Configure(db::TUniConnection& connection, const Server& server,
               const std::u16string& database);

// A fresh database holding the store schema, dropped again at the end; the
// connection is open on it. Tests running in parallel each get their own.
class ScratchDatabase {
 public:
  explicit ScratchDatabase(const Server& server);
  ~ScratchDatabase();

  const std::u16string& Name() const { return name_; }
  db::TUniConnection& Connection() { return connection_; }
  void Exec(const std::u16string& statement) { connection_.ExecSQL(statement); }

 private:
  std::u16string name_;
  db::TUniConnection connection_;
};

// Fixture base: skips when no server runs, else gives a scratch database.
class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { database_.reset(); }
  ScratchDatabase& Database() { return *database_; }
  const Server& ServerSettings() const { return *server_; }

 private:
  std::optional<Server> server_;
  std::unique_ptr<ScratchDatabase> database_;
};

}  // namespace testdb
