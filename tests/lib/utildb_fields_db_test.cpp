// SetValueFieldReadOnly on the fields of a real query: every overload into a
// writable and a read-only field, and the failures the field raises.
#include <gtest/gtest.h>

#include "Lib/UtilDB.h"
#include "platform/db/Query.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"
#include "tests/support/TestDatabase.h"

namespace {

class SetValueFieldReadOnlyTest : public testdb::DatabaseTest {
 protected:
  void SetUp() override {
    testdb::DatabaseTest::SetUp();
    if (IsSkipped()) return;
    Database().Exec(
        u"CREATE TABLE campos (id INT PRIMARY KEY, nome VARCHAR(20), qtd INT, momento DATETIME,"
        u" dia DATE, preco DOUBLE)");
    Database().Exec(u"CREATE TABLE rotulos (id INT PRIMARY KEY, rotulo VARCHAR(20))");
    Database().Exec(
        u"INSERT INTO campos VALUES (1, 'um', 1, '2024-01-01 08:00:00', '2024-01-01', 1)");
    Database().Exec(u"INSERT INTO rotulos VALUES (1, 'primeiro')");
    query_ = std::make_unique<db::TUniQuery>(&Database().Connection());
    // rotulo comes from another table than the first column: read-only.
    query_->SetSQL(u"SELECT c.*, r.rotulo FROM campos c JOIN rotulos r ON r.id = c.id");
  }

  db::TUniQuery& Query() { return *query_; }
  template <typename Field>
  Field& Get(const char16_t* name) {
    return dynamic_cast<Field&>(query_->FieldByName(name));
  }

 private:
  std::unique_ptr<db::TUniQuery> query_;
};

TEST_F(SetValueFieldReadOnlyTest, WritesEveryOverloadAndKeepsTheReadOnlyMark) {
  db::TUniQuery& q = Query();
  q.Open();
  ASSERT_TRUE(q.FieldByName(u"rotulo").ReadOnly());
  q.Edit();
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only" : "writable");
    for (const char16_t* name : {u"nome", u"qtd", u"momento", u"dia", u"preco"})
      q.FieldByName(name).SetReadOnly(readOnly);
    const double day = readOnly ? 1 : 0;
    TUtilDB::SetValueFieldReadOnly(Get<db::TStringField>(u"nome"),
                                   readOnly ? u"dois" : u"tr\u00eas");
    TUtilDB::SetValueFieldReadOnly(Get<db::TIntegerField>(u"qtd"), readOnly ? -7 : 2147483647);
    TUtilDB::SetValueFieldReadOnly(Get<db::TDateTimeField>(u"momento"),
                                   rtl::EncodeDateTime(2024, 2, 29, 23, 59, 59, 0) + day);
    TUtilDB::SetValueFieldReadOnly(Get<db::TFloatField>(u"preco"), 0.03125);
    EXPECT_EQ(q.FieldByName(u"nome").AsString(), readOnly ? u"dois" : u"tr\u00eas");
    EXPECT_EQ(q.FieldByName(u"qtd").AsInteger(), readOnly ? -7 : 2147483647);
    EXPECT_EQ(q.FieldByName(u"momento").AsDateTime(),
              rtl::EncodeDateTime(2024, 2, 29, 23, 59, 59, 0) + day);
    EXPECT_EQ(q.FieldByName(u"preco").AsFloat(), 0.03125);  // a float field is not rounded

    TUtilDB::SetValueFieldReadOnly(Get<db::TDateField>(u"dia"), u"2024-02-29");
    EXPECT_EQ(q.FieldByName(u"dia").AsDateTime(), rtl::EncodeDate(2024, 2, 29));
    // The date overload of a date field: the time of day is the field's to drop.
    TUtilDB::SetValueFieldReadOnly(Get<db::TDateField>(u"dia"),
                                   rtl::EncodeDateTime(2025, 3, 1, 12, 0, 0, 0));
    EXPECT_EQ(q.FieldByName(u"dia").AsDateTime(), rtl::EncodeDate(2025, 3, 1));

    for (const char16_t* name : {u"nome", u"qtd", u"momento", u"dia", u"preco"})
      EXPECT_EQ(q.FieldByName(name).ReadOnly(), readOnly) << rtl::Utf16ToUtf8(name);
  }
  TUtilDB::SetValueFieldReadOnly(Get<db::TStringField>(u"rotulo"), u"outro");
  EXPECT_EQ(q.FieldByName(u"rotulo").AsString(), u"outro");
  EXPECT_TRUE(q.FieldByName(u"rotulo").ReadOnly());
}

TEST_F(SetValueFieldReadOnlyTest, WhatTheFieldRaisesPropagatesAndTheMarkComesBack) {
  db::TUniQuery& q = Query();
  q.Open();
  db::TDateField& dia = Get<db::TDateField>(u"dia");
  dia.SetReadOnly(true);
  // Browsing: the dataset refuses the write.
  EXPECT_THROW_MSG(TUtilDB::SetValueFieldReadOnly(dia, rtl::EncodeDate(2024, 5, 1)),
                   rtl::EDatabaseError, "Dataset not in edit or insert mode");
  EXPECT_TRUE(dia.ReadOnly());

  q.Edit();
  EXPECT_THROW_MSG(TUtilDB::SetValueFieldReadOnly(dia, u"31/02/2024"), rtl::EConvertError,
                   "'31/02/2024' is not a valid date and time");
  EXPECT_TRUE(dia.ReadOnly());
  EXPECT_EQ(dia.AsDateTime(), rtl::EncodeDate(2024, 1, 1));

  db::TIntegerField& qtd = Get<db::TIntegerField>(u"qtd");
  qtd.OnValidate = [](db::TField& f) {
    if (f.AsInteger() < 0) throw rtl::EDatabaseError(u"quantidade negativa");
  };
  EXPECT_THROW_MSG(TUtilDB::SetValueFieldReadOnly(qtd, -1), rtl::EDatabaseError,
                   "quantidade negativa");
  EXPECT_FALSE(qtd.ReadOnly());
  EXPECT_EQ(qtd.AsInteger(), 1);
}

TEST_F(SetValueFieldReadOnlyTest, CurrencyValuesRoundHalvesToEven) {
  db::TUniQuery& q = Query();
  db::TField& total = q.CreateField(db::ftCurrency, u"total", db::fkCalculated);
  total.SetReadOnly(true);
  double value = 0;
  q.OnCalcFields = [&](db::TDataSet& d) {
    TUtilDB::SetValueFieldReadOnly(dynamic_cast<db::TCurrencyField&>(d.FieldByName(u"total")),
                                   value);
  };
  q.Open();
  const struct {
    double value;
    double written;
  } cases[] = {{0.03125, 0.0312}, {0.09375, 0.0938}, {1.5, 1.5}, {-0.15625, -0.1562}};
  for (const auto& c : cases) {
    value = c.value;
    q.First();  // computes the calculated fields again
    EXPECT_EQ(total.AsFloat(), c.written) << c.value;
    EXPECT_EQ(total.AsCurrency(), rtl::Currency::FromDouble(c.written)) << c.value;
    EXPECT_TRUE(total.ReadOnly());
  }
}

}  // namespace
