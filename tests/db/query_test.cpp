#include <gtest/gtest.h>

#include "platform/db/Query.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/Listeners.h"
#include "tests/support/TestDatabase.h"

namespace {

using db::TUniQuery;

class QueryTest : public testdb::DatabaseTest {
 protected:
  TUniQuery& Open(const std::u16string& sql) {
    query_ = std::make_unique<TUniQuery>(&Database().Connection());
    query_->SetSQL(sql);
    query_->Open();
    return *query_;
  }

 private:
  std::unique_ptr<TUniQuery> query_;
};

TEST_F(QueryTest, ColumnTypingRulesAndValues) {
  Database().Exec(
      u"CREATE TABLE tipos (c_tiny1 TINYINT(1), c_utiny1 TINYINT(1) UNSIGNED, c_tiny TINYINT,"
      u" c_utiny TINYINT UNSIGNED, c_small SMALLINT, c_usmall SMALLINT UNSIGNED, c_int INT,"
      u" c_uint INT UNSIGNED, c_big BIGINT, c_big11 BIGINT(11), c_bit8 BIT(8), c_bit40 BIT(40),"
      u" c_dec DECIMAL(10,2), c_double DOUBLE, c_date DATE, c_dt DATETIME(3), c_time TIME,"
      u" c_varchar VARCHAR(20), c_text TEXT)");
  Database().Exec(
      u"INSERT INTO tipos VALUES (1, 0, -5, 200, -300, 65535, -7, 4294967295, 9007199254740993,"
      u" 12345678901, b'10000001', b'1000000000000000000000000000000000000001', 1234.56, 0.1,"
      u" '2026-12-11', '2026-12-11 08:30:15.250', '01:02:03', 'P\u00e3o \U0001F600', 'texto')");
  TUniQuery& q = Open(u"SELECT * FROM tipos");
  ASSERT_EQ(q.RecordCount(), 1);
  static const struct {
    const char16_t* column;
    db::TFieldType type;
  } types[] = {
      {u"c_tiny1", db::ftBoolean},  {u"c_utiny1", db::ftBoolean}, {u"c_tiny", db::ftInteger},
      {u"c_utiny", db::ftInteger},  {u"c_small", db::ftInteger},  {u"c_usmall", db::ftInteger},
      {u"c_int", db::ftInteger},    {u"c_uint", db::ftLargeint},  {u"c_big", db::ftLargeint},
      {u"c_big11", db::ftInteger},  {u"c_bit8", db::ftInteger},   {u"c_bit40", db::ftLargeint},
      {u"c_dec", db::ftFloat},      {u"c_double", db::ftFloat},   {u"c_date", db::ftDate},
      {u"c_dt", db::ftDateTime},    {u"c_time", db::ftTime},      {u"c_varchar", db::ftString},
      {u"c_text", db::ftMemo},
  };
  for (const auto& t : types)
    EXPECT_EQ(q.FieldByName(t.column).DataType(), t.type) << rtl::Utf16ToUtf8(t.column);

  EXPECT_EQ(q.FieldByName(u"c_tiny1").AsVariant().VarType(), rtl::varBoolean);
  EXPECT_EQ(q.FieldByName(u"c_tiny").AsInteger(), -5);
  EXPECT_EQ(q.FieldByName(u"c_usmall").AsInteger(), 65535);
  EXPECT_EQ(q.FieldByName(u"c_uint").AsLargeInt(), 4294967295LL);
  EXPECT_EQ(q.FieldByName(u"c_big").AsLargeInt(), 9007199254740993LL);
  EXPECT_EQ(q.FieldByName(u"c_bit8").AsInteger(), 129);
  EXPECT_EQ(q.FieldByName(u"c_bit40").AsLargeInt(), (1LL << 39) + 1);
  EXPECT_EQ(q.FieldByName(u"c_dec").AsFloat(), 1234.56);
  EXPECT_EQ(q.FieldByName(u"c_double").AsFloat(), 0.1);
  EXPECT_EQ(q.FieldByName(u"c_date").AsDateTime(), rtl::EncodeDate(2026, 12, 11));
  EXPECT_EQ(q.FieldByName(u"c_dt").AsDateTime(),
            rtl::EncodeDateTime(2026, 12, 11, 8, 30, 15, 250));
  EXPECT_DOUBLE_EQ(q.FieldByName(u"c_time").AsDateTime(), rtl::EncodeTime(1, 2, 3, 0));
  EXPECT_EQ(q.FieldByName(u"c_varchar").AsString(), u"P\u00e3o \U0001F600");
  EXPECT_EQ(q.FieldByName(u"c_text").AsString(), u"texto");

  // Beyond the signed range an unsigned value keeps its kind; read as signed it fails.
  const db::TField& u = Open(u"SELECT CAST(18446744073709551615 AS UNSIGNED) AS u").Fields()[0];
  EXPECT_EQ(u.AsVariant().VarType(), rtl::varUInt64);
  EXPECT_THROW(u.AsLargeInt(), rtl::EVariantOverflowError);
}

TEST_F(QueryTest, NullsAndZeroDates) {
  Database().Exec(u"CREATE TABLE n (d DATETIME NULL, v DECIMAL(10,2) NULL, s VARCHAR(5) NULL)");
  Database().Exec(u"INSERT INTO n VALUES (NULL, NULL, NULL)");
  TUniQuery& q = Open(u"SELECT d, v, s FROM n");
  for (int i = 0; i < q.Fields().Count(); ++i) EXPECT_TRUE(q.Fields()[i].IsNull()) << i;
  EXPECT_EQ(q.FieldByName(u"d").AsDateTime(), 0.0);
  EXPECT_EQ(q.FieldByName(u"v").AsFloat(), 0.0);
  EXPECT_EQ(q.FieldByName(u"s").AsString(), u"");
  EXPECT_EQ(q.FieldByName(u"v").AsVariant().VarType(), rtl::varNull);
}

TEST_F(QueryTest, FieldsOfOtherTablesAndExpressionsAreReadOnly) {
  TUniQuery& q = Open(
      u"SELECT produto.descricao, produto.labora, barras.barras, 1 + 1 AS soma "
      u"FROM produto JOIN barras ON barras.produto_id = produto.produto_id");
  EXPECT_FALSE(q.FieldByName(u"descricao").ReadOnly());
  EXPECT_FALSE(q.FieldByName(u"labora").ReadOnly());
  EXPECT_TRUE(q.FieldByName(u"barras").ReadOnly());
  EXPECT_TRUE(q.FieldByName(u"soma").ReadOnly());
  EXPECT_TRUE(q.IsAnyFieldCanBeModified());
  EXPECT_TRUE(q.CanModify());
  q.UniDirectional = true;
  EXPECT_FALSE(q.CanModify());
  q.UniDirectional = false;
  q.ReadOnly = true;
  EXPECT_FALSE(q.CanModify());

  TUniQuery& expressions = Open(u"SELECT 1 AS a, NOW() AS b");
  EXPECT_TRUE(expressions.Fields()[0].ReadOnly());
  EXPECT_FALSE(expressions.IsAnyFieldCanBeModified());
  EXPECT_FALSE(expressions.CanModify());
}

TEST_F(QueryTest, AfterOpenRunsOnEveryOpenAndNewTextCloses) {
  TUniQuery q(&Database().Connection());
  int opens = 0;
  q.AfterOpen = [&](db::TDataSet& dataSet) {
    EXPECT_EQ(&dataSet, &q);
    EXPECT_TRUE(dataSet.Active());
    ++opens;
  };
  q.SetSQL(u"SELECT 1 AS x FROM DUAL WHERE 1 = 0");
  q.Open();
  EXPECT_TRUE(q.IsEmpty());
  q.SetSQL(u"SELECT 7 AS x");
  EXPECT_FALSE(q.Active());
  q.Open();
  EXPECT_EQ(q.FieldByName(u"X").AsInteger(), 7);
  EXPECT_EQ(opens, 2);
}

TEST_F(QueryTest, ServerErrorsAndLostConnectionsRaise) {
  TUniQuery q(&Database().Connection());
  q.SetSQL(u"SELECT nada FROM produto");
  try {
    q.Open();
    FAIL();
  } catch (const rtl::EDatabaseError& e) {
    EXPECT_EQ(e.Message().rfind(u"Unknown column 'nada' in ", 0), 0u) << e.what();
  }
  EXPECT_FALSE(q.Active());
  EXPECT_EQ(q.Fields().Count(), 0);

  // Another session kills ours between two statements.
  TUniQuery id(&Database().Connection());
  id.SetSQL(u"SELECT CONNECTION_ID() AS id");
  id.Open();
  db::TUniConnection killer;
  testdb::Configure(killer, ServerSettings(), u"");
  killer.Connect();
  killer.ExecSQL(u"KILL " + id.FieldByName(u"id").AsString());
  q.SetSQL(u"SELECT 1");
  EXPECT_THROW(q.Open(), rtl::EDatabaseError);
}

TEST(Connection, RefusedLoginNamesNoPassword) {
  const auto server = testdb::ServerFromEnvironment();
  if (!server) GTEST_SKIP();
  db::TUniConnection connection;
  testdb::Configure(connection, *server, u"gerente");
  connection.Password = u"not-the-password-xyz";
  try {
    connection.Connect();
    FAIL();
  } catch (const rtl::EDatabaseError& e) {
    EXPECT_NE(e.Message().find(u"Access denied"), std::u16string::npos);
    EXPECT_EQ(e.Message().find(u"not-the-password-xyz"), std::u16string::npos);
  }
  EXPECT_FALSE(connection.Connected());
}

TEST(Connection, SilentServerTimesOut) {
  const testsupport::SilentServer silent;
  db::TUniConnection connection;
  connection.Server = u"127.0.0.1";
  connection.Port = silent.Port();
  connection.Username = u"root";
  connection.TimeoutSeconds = 1;
  bool afterConnect = false;
  connection.AfterConnect = [&] { afterConnect = true; };
  EXPECT_THROW(connection.Connect(), rtl::EDatabaseError);
  EXPECT_FALSE(connection.Connected());
  EXPECT_FALSE(afterConnect);
}

TEST(Connection, PortsOutsideTheTcpRangeAreRefused) {
  db::TUniConnection connection;
  for (int port : {0, -1, 65536, 2147483647}) {
    connection.Port = port;
    EXPECT_THROW(connection.Connect(), rtl::EDatabaseError) << port;
  }
}

}  // namespace
