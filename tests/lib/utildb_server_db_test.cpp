// The server inspections against the throwaway MariaDB, and against a port
// where no server listens.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <typeinfo>

#include "Lib/UtilDB.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/TestDatabase.h"

namespace {

const std::u16string kPrefix =
    u"Erro ao realizar a verificação de configuração de banco de dados.\r\nErro: ";

std::string U8(const std::u16string& text) { return rtl::Utf16ToUtf8(text); }

class ServerInspection : public testdb::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped()) return;
    // The scratch connection chose its database with USE; the inspections
    // read the name from the property.
    Connection().Database = Database().Name();
  }
  db::TUniConnection& Connection() { return Database().Connection(); }
};

TEST_F(ServerInspection, FlavourIsMariaDB) {
  EXPECT_EQ(TUtilDB::GetBancoConfigurado(Connection(), true), bcMariaDB);
  EXPECT_EQ(TUtilDB::GetBancoConfigurado(Connection(), false), bcMariaDB);

  // A connection that was never opened is connected by the query.
  db::TUniConnection fresh;
  testdb::Configure(fresh, ServerSettings(), u"");
  EXPECT_EQ(TUtilDB::GetBancoConfigurado(fresh, true), bcMariaDB);
  EXPECT_TRUE(fresh.Connected());
}

TEST_F(ServerInspection, EngineIsTheSessionDefault) {
  // SHOW VARIABLES reads this session's value, so changing it here touches
  // no other test's connection (SET GLOBAL would).
  static const struct {
    const char16_t* engine;
    TBancoEngine expected;
    bool valid;
  } cases[] = {
      {u"InnoDB", bcInnoDB, true},  {u"MyISAM", bcMyISAM, false}, {u"Aria", bcMyISAM, false},
      {u"MEMORY", bcMyISAM, false}, {u"InnoDB", bcInnoDB, true},
  };
  for (const auto& c : cases) {
    Database().Exec(std::u16string(u"SET SESSION default_storage_engine = ") + c.engine);
    EXPECT_EQ(TUtilDB::GetBancoConfiguradoEngine(Connection(), true), c.expected) << U8(c.engine);
    EXPECT_EQ(TUtilDB::isBancoEngineValidos(Connection()), c.valid) << U8(c.engine);
  }
}

class TableSizes : public ServerInspection {
 protected:
  void SetUp() override {
    ServerInspection::SetUp();
    if (IsSkipped()) return;
    // Fresh InnoDB tables take one 16 KiB page per index. MyISAM rows of
    // fixed length take their length plus one byte, and the index file
    // starts at 1 KiB: 1024 rows of 127 and of 383 bytes make 131 072 and
    // 393 216 bytes, 0.125 and 0.375 MB.
    for (const char16_t* statement : {
             u"CREATE TABLE tamanho_um (id INT PRIMARY KEY) ENGINE=InnoDB",
             u"CREATE TABLE tamanho_dois (id INT PRIMARY KEY, v INT, KEY (v)) ENGINE=InnoDB",
             u"CREATE TABLE `aspas\"tabela` (id INT PRIMARY KEY) ENGINE=InnoDB",
             u"CREATE TABLE medida_125 (c CHAR(126) CHARACTER SET latin1 NOT NULL) ENGINE=MyISAM",
             u"INSERT INTO medida_125 SELECT 'x' FROM seq_1_to_1024",
             u"CREATE TABLE medida_375 (c CHAR(255) CHARACTER SET latin1 NOT NULL,"
             u" d CHAR(127) CHARACTER SET latin1 NOT NULL) ENGINE=MyISAM",
             u"INSERT INTO medida_375 SELECT 'x', 'y' FROM seq_1_to_1024",
         })
      Database().Exec(statement);
  }
};

TEST_F(TableSizes, MegabytesAndGigabytesOfTheFirstMatchingTable) {
  static const struct {
    std::u16string pattern;
    double megabytes;
  } cases[] = {
      {u"tamanho_um", 0.02},  // 16 KiB = 0.015625 MB
      {u"tamanho_dois", 0.03},
      {u"medida_125", 0.12},  // the tie goes to even
      {u"medida_375", 0.38},
      {u"tamanho_do_s", 0.03},  // "_" matches one character
      {u"tamanho_d%", 0.03},    // "%" any run
      {u"medida%", 0.12},       // the first row of several
      {u"inexistente", 0},
      {u"aspas\"tabela", 0.02},    // a quote in the name is only a character
      {u"tamanho_dois\" -- ", 0},  // cannot end the literal and comment out the rest
      {u"tamanho_dois\" OR \"1", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TUtilDB::GetSizeTableMB(Connection(), c.pattern), c.megabytes) << U8(c.pattern);
    EXPECT_EQ(TUtilDB::GetSizeTableGB(Connection(), c.pattern), 0) << U8(c.pattern);
  }
}

TEST_F(TableSizes, TheDatabaseNameIsOneIdentifier) {
  // Inserted as it stands, this name would measure tamanho_dois.
  Connection().Database = Database().Name() + u" LIKE \"tamanho_dois\" -- ";
  EXPECT_EQ(TUtilDB::GetSizeTableMB(Connection(), u"nenhuma"), 0);

  // A backquote in a database name is doubled, not the end of the name.
  const std::u16string other = Database().Name() + u"_q`x";
  const std::u16string written = u"`" + Database().Name() + u"_q``x`";
  Database().Exec(u"CREATE DATABASE " + written);
  struct Drop {
    testdb::ScratchDatabase& database;
    const std::u16string& written;
    ~Drop() {
      try {
        database.Exec(u"DROP DATABASE " + written);
      } catch (const rtl::Exception&) {
        // A broken connection leaves it to the throwaway server's end.
      }
    }
  } drop{Database(), written};
  Database().Exec(u"CREATE TABLE " + written + u".outra (id INT PRIMARY KEY)");
  Connection().Database = other;
  EXPECT_EQ(TUtilDB::GetSizeTableMB(Connection(), u"outra"), 0.02);
  EXPECT_EQ(TUtilDB::GetSizeTableMB(Connection(), u"tamanho_um"), 0);
}

// A loopback port that is bound but not listening: connections are refused.
class RefusingPort {
 public:
  RefusingPort() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("cannot bind on 127.0.0.1");
    port_ = ntohs(address.sin_port);
  }
  ~RefusingPort() { close(fd_); }
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  int Port() const { return port_; }

 private:
  int fd_;
  int port_ = 0;
};

TEST(ServerInspectionUnreachable, NeutralResultsOrThePrefixedMessage) {
  const RefusingPort port;
  db::TUniConnection connection;
  connection.Server = u"127.0.0.1";
  connection.Port = port.Port();
  connection.Username = u"root";
  connection.Database = u"gerente";
  connection.TimeoutSeconds = 2;

  // The access layer's own message for this server.
  std::u16string refused;
  try {
    connection.Connect();
    FAIL() << "connected to a refusing port";
  } catch (const rtl::EDatabaseError& e) {
    refused = e.Message();
  }
  ASSERT_FALSE(refused.empty());

  EXPECT_EQ(TUtilDB::GetBancoConfigurado(connection, false), bcMySql4);
  EXPECT_EQ(TUtilDB::GetBancoConfiguradoEngine(connection, false), bcMyISAM);
  EXPECT_FALSE(TUtilDB::isBancoEngineValidos(connection));
  EXPECT_EQ(TUtilDB::GetSizeTableMB(connection, u"produto"), 0);
  EXPECT_EQ(TUtilDB::GetSizeTableGB(connection, u"produto"), 0);

  try {
    TUtilDB::GetBancoConfigurado(connection, true);
    ADD_FAILURE() << "no exception";
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(typeid(e), typeid(rtl::Exception));
    EXPECT_EQ(U8(e.Message()), U8(kPrefix + refused));
  }
  // The engine wraps what the flavour already wrapped.
  try {
    TUtilDB::GetBancoConfiguradoEngine(connection, true);
    ADD_FAILURE() << "no exception";
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(typeid(e), typeid(rtl::Exception));
    EXPECT_EQ(U8(e.Message()), U8(kPrefix + kPrefix + refused));
  }
  EXPECT_FALSE(connection.Connected());
}

}  // namespace
