// SetDefaultValueFields against real tables declaring defaults of every kind.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Lib/UtilDB.h"
#include "platform/db/Query.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"
#include "tests/support/TestDatabase.h"

namespace {

using db::TField;
using db::TUniQuery;

// Each column's default, and what the algorithm does with it on MariaDB.
constexpr const char16_t* kTable =
    u"CREATE TABLE padroes ("
    u" id INT AUTO_INCREMENT PRIMARY KEY,"
    u" c_texto VARCHAR(10) DEFAULT 'abc',"
    u" c_vazio VARCHAR(5) DEFAULT '',"
    u" c_palavra_null VARCHAR(5) DEFAULT 'NULL',"  // the text NULL, not the value
    u" c_aspas VARCHAR(10) DEFAULT 'it''s',"
    u" c_memo TEXT DEFAULT 'txt',"  // MariaDB describes it quoted
    u" c_int INT DEFAULT 42,"
    u" c_grande BIGINT DEFAULT 9007199254740993,"
    u" c_dec DECIMAL(10,2) DEFAULT 1.50,"
    u" c_logico TINYINT(1) DEFAULT 1,"
    u" c_enum ENUM('a','b') DEFAULT 'b',"
    u" c_data DATE DEFAULT '2024-02-29',"
    u" c_data_zero DATE DEFAULT '0000-00-00',"
    u" c_momento DATETIME DEFAULT '2024-02-29 10:00:00',"
    u" c_momento_zero DATETIME DEFAULT '0000-00-00 00:00:00',"
    u" c_momento3 DATETIME(3) DEFAULT '2024-01-02 03:04:05.678',"
    u" c_agora TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP,"
    u" c_carimbo TIMESTAMP NULL DEFAULT '2020-01-02 03:04:05',"
    u" c_carimbo_nulo TIMESTAMP NULL DEFAULT NULL,"
    u" c_hora TIME DEFAULT '-838:59:59',"
    u" c_hora2 TIME DEFAULT '12:34:56',"
    u" c_ano YEAR DEFAULT 2024,"
    u" c_sem INT,"
    u" c_obrigatorio INT NOT NULL,"
    u" c_calculado VARCHAR(10) DEFAULT 'da tabela')";

class SetDefaultValueFieldsTest : public testdb::DatabaseTest {
 protected:
  void SetUp() override {
    testdb::DatabaseTest::SetUp();
    if (IsSkipped()) return;
    Database().Exec(kTable);
  }

  // A query on padroes; c_calculado is a calculated field of the query.
  TUniQuery& Query(const std::u16string& sql =
                       u"SELECT p.id, p.c_texto, p.c_vazio, "
                       u"p.c_palavra_null, p.c_aspas, p.c_memo, "
                       u"p.c_int, p.c_grande, p.c_dec, p.c_logico, "
                       u"p.c_enum, p.c_data, p.c_data_zero, "
                       u"p.c_momento, p.c_momento_zero, p.c_momento3, "
                       u"p.c_agora, p.c_carimbo, p.c_carimbo_nulo, "
                       u"p.c_hora, p.c_hora2, p.c_ano, p.c_sem, "
                       u"p.c_obrigatorio FROM padroes p") {
    query_ = std::make_unique<TUniQuery>(&Database().Connection());
    query_->SetSQL(sql);
    return *query_;
  }

  std::unique_ptr<TUniQuery> query_;
};

// Counts the runs of every handler of a query and its fields.
struct Handlers {
  std::map<std::string, int> runs;

  void Attach(TUniQuery& q) {
    q.AfterEdit = [this](db::TDataSet&) { ++runs["AfterEdit"]; };
    q.BeforeEdit = [this](db::TDataSet&) { ++runs["BeforeEdit"]; };
    q.AfterScroll = [this](db::TDataSet&) { ++runs["AfterScroll"]; };
    q.OnCalcFields = [this](db::TDataSet& d) {
      ++runs["OnCalcFields"];
      if (TField* calculado = d.FindField(u"c_calculado")) calculado->SetAsString(u"calculado");
    };
    for (int i = 0; i < q.Fields().Count(); ++i) {
      TField& f = q.Fields()[i];
      f.OnValidate = [this](TField&) { ++runs["OnValidate"]; };
      f.OnSetText = [this](TField&, const std::u16string&) { ++runs["OnSetText"]; };
      f.OnGetText = [this](const TField&, std::u16string&, bool) { ++runs["OnGetText"]; };
    }
  }
  int Total() const {
    int total = 0;
    for (const auto& [name, count] : runs) total += count;
    return total;
  }
};

TEST_F(SetDefaultValueFieldsTest, WritesTheDeclaredDefaultsOfANewRecord) {
  TUniQuery& q = Query();
  q.CreateField(db::ftString, u"c_calculado", db::fkCalculated);
  q.Open();
  Handlers handlers;
  handlers.Attach(q);
  q.Append();
  EXPECT_EQ(q.FieldByName(u"c_calculado").AsString(), u"calculado");
  handlers.runs.clear();

  TUtilDB::SetDefaultValueFields(q, u"");

  EXPECT_EQ(handlers.Total(), 0) << "no handler runs because of the writes";
  const struct {
    const char16_t* field;
    const char16_t* text;  // nullptr: not written (Null)
  } written[] = {
      {u"id", nullptr},
      {u"c_texto", u"abc"},
      {u"c_vazio", u""},
      {u"c_palavra_null", u"NULL"},
      {u"c_aspas", u"it's"},
      {u"c_memo", u"'txt'"},
      {u"c_int", u"42"},
      {u"c_grande", u"9007199254740993"},
      {u"c_dec", u"1.5"},
      {u"c_logico", u"True"},
      {u"c_enum", u"b"},
      {u"c_data_zero", nullptr},
      {u"c_momento_zero", nullptr},
      {u"c_agora", nullptr},  // "current_timestamp()" reads as no valid date
      {u"c_carimbo_nulo", nullptr},
      {u"c_sem", nullptr},
      {u"c_obrigatorio", nullptr},
      {u"c_calculado", u"calculado"},
  };
  for (const auto& w : written) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(w.field));
    const TField& f = q.FieldByName(w.field);
    EXPECT_EQ(f.IsNull(), w.text == nullptr);
    if (w.text) {
      EXPECT_EQ(f.AsString(), w.text);
    }
  }
  EXPECT_EQ(q.FieldByName(u"c_data").AsDateTime(), rtl::EncodeDate(2024, 2, 29));
  EXPECT_EQ(q.FieldByName(u"c_momento").AsDateTime(),
            rtl::EncodeDateTime(2024, 2, 29, 10, 0, 0, 0));
  EXPECT_EQ(q.FieldByName(u"c_momento3").AsDateTime(),
            rtl::EncodeDateTime(2024, 1, 2, 3, 4, 5, 678));
  EXPECT_EQ(q.FieldByName(u"c_carimbo").AsDateTime(), rtl::EncodeDateTime(2020, 1, 2, 3, 4, 5, 0));
  EXPECT_DOUBLE_EQ(q.FieldByName(u"c_hora").AsDateTime(), -(838 * 3600 + 59 * 60 + 59) / 86400.0);
  EXPECT_DOUBLE_EQ(q.FieldByName(u"c_hora2").AsDateTime(), rtl::EncodeTime(12, 34, 56, 0));
  EXPECT_EQ(q.FieldByName(u"c_ano").AsInteger(), 2024);
  EXPECT_FALSE(q.ControlsDisabled());
  EXPECT_EQ(q.State(), db::TDataSetState::dsInsert);

  // Every handler is back: each runs again when its event comes.
  TField& texto = q.FieldByName(u"c_texto");
  texto.SetAsString(u"x");
  texto.SetText(u"y");
  (void)texto.Text();
  q.Post();
  q.Edit();
  q.First();
  for (const char* name : {"OnValidate", "OnSetText", "OnGetText", "OnCalcFields", "BeforeEdit",
                           "AfterEdit", "AfterScroll"})
    EXPECT_GT(handlers.runs[name], 0) << name;
}

TEST_F(SetDefaultValueFieldsTest, ReadOnlyFieldsGetTheirDefaultAndStayReadOnly) {
  // The first column comes from another table, so every column of padroes
  // is read-only; the table to describe is named.
  Database().Exec(u"CREATE TABLE outra (chave INT)");
  TUniQuery& q = Query(u"SELECT o.chave, p.c_texto, p.c_int, p.c_hora FROM outra o, padroes p");
  q.Open();
  ASSERT_TRUE(q.FieldByName(u"c_texto").ReadOnly());
  q.Append();
  TUtilDB::SetDefaultValueFields(q, u"padroes");
  EXPECT_EQ(q.FieldByName(u"c_texto").AsString(), u"abc");
  EXPECT_EQ(q.FieldByName(u"c_int").AsInteger(), 42);
  for (const char16_t* name : {u"c_texto", u"c_int", u"c_hora"})
    EXPECT_TRUE(q.FieldByName(name).ReadOnly()) << rtl::Utf16ToUtf8(name);
  EXPECT_FALSE(q.FieldByName(u"chave").ReadOnly());
  EXPECT_TRUE(q.FieldByName(u"chave").IsNull());  // outra declares no default
}

TEST_F(SetDefaultValueFieldsTest, TheTableNameAndTheOption) {
  TUniQuery& q = Query(u"select c_texto from padroes");
  q.Open();
  q.Append();
  // Blanks only: the name comes from the query's text.
  TUtilDB::SetDefaultValueFields(q, u" \t ");
  EXPECT_EQ(q.FieldByName(u"c_texto").AsString(), u"abc");

  q.FieldByName(u"c_texto").Clear();
  TUtilDB::SetDefaultValueFields(q, u"  padroes  ");  // used with its blanks
  EXPECT_EQ(q.FieldByName(u"c_texto").AsString(), u"abc");

  // With the option on nothing is read: not even an unknown table fails.
  q.FieldByName(u"c_texto").Clear();
  q.Options.DefaultValues = true;
  TUtilDB::SetDefaultValueFields(q, u"nao_existe");
  EXPECT_TRUE(q.FieldByName(u"c_texto").IsNull());
}

TEST_F(SetDefaultValueFieldsTest, CurrentTimeDefaultsAsMariaDBDescribesThem) {
  // MariaDB describes the current-time default as "current_timestamp()", 19
  // characters: the first timestamp layout, read as no valid date, so the
  // field is not written. With fractional seconds the type is "datetime(3)",
  // which is not temporal: its text goes to the field, which cannot read it.
  Database().Exec(
      u"CREATE TABLE agora (a DATETIME DEFAULT CURRENT_TIMESTAMP,"
      u" b TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,"
      u" c DATETIME(3) DEFAULT CURRENT_TIMESTAMP(3))");
  TUniQuery describe(&Database().Connection());
  describe.SetSQL(u"DESCRIBE agora");
  describe.Open();
  EXPECT_EQ(describe.FieldByName(u"Default").AsString(), u"current_timestamp()");

  TUniQuery& q = Query(u"SELECT a, b FROM agora");
  q.Open();
  q.Append();
  TUtilDB::SetDefaultValueFields(q, u"");
  EXPECT_TRUE(q.FieldByName(u"a").IsNull());
  EXPECT_TRUE(q.FieldByName(u"b").IsNull());

  TUniQuery& fractional = Query(u"SELECT c FROM agora");
  fractional.Open();
  fractional.Append();
  EXPECT_THROW_MSG(TUtilDB::SetDefaultValueFields(fractional, u""), rtl::EConvertError,
                   "'current_timestamp(3)' is not a valid date and time");
}

TEST_F(SetDefaultValueFieldsTest, AFailingDescriptionLeavesTheQueryAlone) {
  TUniQuery& q = Query(u"SELECT c_texto FROM padroes");
  q.Open();
  Handlers handlers;
  handlers.Attach(q);
  q.Append();
  handlers.runs.clear();
  try {
    TUtilDB::SetDefaultValueFields(q, u"nao_existe");
    ADD_FAILURE() << "no error";
  } catch (const rtl::EDatabaseError& e) {
    EXPECT_NE(e.Message().find(u"nao_existe"), std::u16string::npos) << e.what();
  }
  EXPECT_TRUE(q.FieldByName(u"c_texto").IsNull());
  EXPECT_FALSE(q.ControlsDisabled());
  q.FieldByName(u"c_texto").SetAsString(u"x");
  EXPECT_EQ(handlers.runs["OnValidate"], 1);
}

TEST_F(SetDefaultValueFieldsTest, AFailingWriteRestoresEverythingAndKeepsEarlierFields) {
  // A BIT column's default is described as b'101', which no integer field reads.
  Database().Exec(
      u"CREATE TABLE bits (a VARCHAR(5) DEFAULT 'antes', b BIT(3) DEFAULT b'101',"
      u" c VARCHAR(10) DEFAULT 'depois')");
  Database().Exec(u"INSERT INTO bits () VALUES ()");
  TUniQuery& q = Query(u"SELECT a, b, c FROM bits");
  q.CreateField(db::ftString, u"calc", db::fkCalculated);
  q.Open();
  Handlers handlers;
  handlers.Attach(q);
  q.FieldByName(u"b").SetReadOnly(true);
  q.Append();
  handlers.runs.clear();
  EXPECT_THROW_MSG(TUtilDB::SetDefaultValueFields(q, u""), rtl::EConvertError,
                   "'b'101'' is not a valid integer value");
  EXPECT_EQ(q.FieldByName(u"a").AsString(), u"antes");
  EXPECT_TRUE(q.FieldByName(u"b").IsNull());
  EXPECT_TRUE(q.FieldByName(u"c").IsNull());
  EXPECT_TRUE(q.FieldByName(u"b").ReadOnly());
  EXPECT_FALSE(q.ControlsDisabled());
  EXPECT_EQ(handlers.Total(), 0);

  // A dataset that is browsing refuses the first write the same way.
  q.Cancel();
  EXPECT_THROW_MSG(TUtilDB::SetDefaultValueFields(q, u"bits"), rtl::EDatabaseError,
                   "Dataset not in edit or insert mode");
  EXPECT_FALSE(q.ControlsDisabled());

  // Afterwards every handler of the query and of the failing field runs again.
  q.Edit();
  TField& b = q.FieldByName(u"b");
  b.SetReadOnly(false);
  b.SetAsInteger(1);
  b.SetText(u"2");
  (void)b.DisplayText();
  q.First();
  for (const char* name : {"OnValidate", "OnSetText", "OnGetText", "OnCalcFields", "BeforeEdit",
                           "AfterEdit", "AfterScroll"})
    EXPECT_GT(handlers.runs[name], 0) << name;
}

}  // namespace
