#include "tests/support/TestDatabase.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/rtl/Text.h"

namespace testdb {
namespace {

std::u16string Env(const char* name) {
  const char* value = std::getenv(name);
  return rtl::Utf8ToUtf16(value ? value : "");
}

// The statements of the schema file, split at the ";" that end them.
std::vector<std::u16string> SchemaStatements() {
  std::ifstream file(CZ_SOURCE_DIR "/scripts/schema.sql");
  std::stringstream content;
  content << file.rdbuf();
  std::vector<std::u16string> statements;
  std::string statement;
  std::istringstream lines(content.str());
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("--", 0) == 0) continue;
    statement += line + "\n";
    if (line.find(';') != std::string::npos) {
      statements.push_back(rtl::Utf8ToUtf16(statement));
      statement.clear();
    }
  }
  return statements;
}

}  // namespace

std::optional<Server> ServerFromEnvironment() {
  const char* port = std::getenv("CZ_DB_PORT");
  if (!port || !*port) return std::nullopt;
  return Server{Env("CZ_DB_HOST"), std::atoi(port), Env("CZ_DB_USER"), Env("CZ_DB_PASSWORD")};
}

void Configure(db::TUniConnection& connection, const Server& server,
               const std::u16string& database) {
  connection.Server = server.Host;
  connection.Port = server.Port;
  connection.Username = server.User;
  connection.Password = server.Password;
  connection.Database = database;
}

ScratchDatabase::ScratchDatabase(const Server& server) {
  static std::atomic<int> counter{0};
  std::random_device random;
  name_ = u"t_" + rtl::IntToStr(getpid()) + u"_" + rtl::IntToStr(counter++) + u"_" +
          rtl::IntToStr(random() % 100000);
  Configure(connection_, server, u"");
  connection_.Connect();
  connection_.ExecSQL(u"CREATE DATABASE " + name_ + u" CHARACTER SET utf8mb4");
  connection_.ExecSQL(u"USE " + name_);
  connection_.Database = name_;  // so a reconnect lands in it too
  for (const std::u16string& statement : SchemaStatements()) connection_.ExecSQL(statement);
}

ScratchDatabase::~ScratchDatabase() {
  try {
    connection_.ExecSQL(u"DROP DATABASE IF EXISTS " + name_);
  } catch (const std::exception&) {
    // A test that broke the connection leaves the database to the server's end.
  }
}

void DatabaseTest::SetUp() {
  server_ = ServerFromEnvironment();
  if (!server_) GTEST_SKIP() << "no test database (run under scripts/test-db)";
  database_ = std::make_unique<ScratchDatabase>(*server_);
}

}  // namespace testdb
