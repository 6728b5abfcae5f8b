// A query's parameters as sent to the server, and new records with the
// column defaults the server declares.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/db/Query.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "tests/support/TestDatabase.h"

namespace {

using db::TUniQuery;
using rtl::Variant;

class QueryEditTest : public testdb::DatabaseTest {};

TEST_F(QueryEditTest, ParameterValuesReachTheServerAsLiterals) {
  TUniQuery q(&Database().Connection());
  q.SetSQL(
      u"SELECT :texto AS texto, :inteiro AS inteiro, CAST(:grande AS CHAR) AS grande, :real AS "
      u"`real`,"
      u" :moeda AS moeda, :data AS data, :nulo IS NULL AS nulo, :logico AS logico,"
      u" :bytes AS `bytes`, ':texto' AS literal, '10:00' AS hora, :texto = :TEXTO AS mesmo,"
      u" (@sete ::= 7) AS sete /* it's no :marcador */");
  const std::u16string tricky = u"a'b\"c\\d\r\n\u00e7\U0001F600 ;-- :x";
  q.Params().ParamByName(u"texto").Value = Variant(tricky);
  q.Params().ParamByName(u"inteiro").Value = Variant(-2147483647 - 1);
  q.Params().ParamByName(u"grande").Value = Variant::FromUInt64(18446744073709551615u);
  q.Params().ParamByName(u"real").Value = Variant(0.1);
  q.Params().ParamByName(u"moeda").Value = Variant(rtl::Currency::FromCount(-12345));
  q.Params().ParamByName(u"data").Value =
      Variant::FromDateTime(rtl::EncodeDateTime(2024, 2, 29, 23, 59, 58, 250));
  q.Params().ParamByName(u"nulo").Value = Variant::Null();
  q.Params().ParamByName(u"logico").Value = Variant(true);
  q.Params().ParamByName(u"bytes").Value = Variant::ByteArray(std::string("\0\xff'", 3));
  q.Open();
  EXPECT_EQ(q.FieldByName(u"texto").AsString(), tricky);
  EXPECT_EQ(q.FieldByName(u"inteiro").AsInteger(), -2147483647 - 1);
  EXPECT_EQ(q.FieldByName(u"grande").AsString(), u"18446744073709551615");
  EXPECT_EQ(q.FieldByName(u"real").AsFloat(), 0.1);
  EXPECT_EQ(q.FieldByName(u"moeda").AsFloat(), -1.2345);
  EXPECT_EQ(q.FieldByName(u"data").AsString(), u"2024-02-29 23:59:58.250");
  EXPECT_EQ(q.FieldByName(u"nulo").AsInteger(), 1);
  EXPECT_EQ(q.FieldByName(u"logico").AsInteger(), 1);
  EXPECT_EQ(q.FieldByName(u"literal").AsString(), u":texto");
  EXPECT_EQ(q.FieldByName(u"hora").AsString(), u"10:00");
  EXPECT_EQ(q.FieldByName(u"mesmo").AsInteger(), 1);
  EXPECT_EQ(q.FieldByName(u"sete").AsInteger(), 7);
  EXPECT_EQ(q.Params().Count(), 9);

  TUniQuery hex(&Database().Connection());
  hex.SetSQL(u"SELECT HEX(:b) AS h");
  hex.Params()[0].Value = Variant::ByteArray(std::string("\0\xff'", 3));
  hex.Open();
  EXPECT_EQ(hex.FieldByName(u"h").AsString(), u"00FF27");

  TUniQuery infinite(&Database().Connection());
  infinite.SetSQL(u"SELECT :x");
  infinite.Params()[0].Value = Variant(INFINITY);
  EXPECT_THROW(infinite.Open(), rtl::EDatabaseError);
}

TEST_F(QueryEditTest, NewRecordsTakeTheDeclaredDefaultsWhenAsked) {
  Database().Exec(
      u"CREATE TABLE padrao (id INT AUTO_INCREMENT PRIMARY KEY, nome VARCHAR(10) DEFAULT 'abc',"
      u" qtd INT DEFAULT 5, preco DECIMAL(10,2) DEFAULT 1.50, obrigatorio INT NOT NULL,"
      u" criado TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP, dia DATE DEFAULT '2024-02-29',"
      u" hora TIME DEFAULT '-838:59:59', livre INT)");
  TUniQuery q(&Database().Connection());
  q.SetSQL(u"SELECT p.*, CURDATE() AS hoje FROM padrao p");
  q.Open();
  q.Append();
  EXPECT_TRUE(q.FieldByName(u"nome").IsNull());  // off unless asked

  q.Close();
  q.Options.DefaultValues = true;
  q.Open();
  q.Append();
  EXPECT_TRUE(q.FieldByName(u"id").IsNull());
  EXPECT_EQ(q.FieldByName(u"nome").AsString(), u"abc");
  EXPECT_EQ(q.FieldByName(u"qtd").AsInteger(), 5);
  EXPECT_EQ(q.FieldByName(u"preco").AsFloat(), 1.5);
  EXPECT_TRUE(q.FieldByName(u"obrigatorio").IsNull());
  EXPECT_TRUE(q.FieldByName(u"livre").IsNull());
  EXPECT_TRUE(q.FieldByName(u"hoje").IsNull());  // not a column of the table
  EXPECT_EQ(q.FieldByName(u"dia").AsDateTime(), rtl::EncodeDate(2024, 2, 29));
  EXPECT_DOUBLE_EQ(q.FieldByName(u"hora").AsDateTime(), -(838 * 3600 + 59 * 60 + 59) / 86400.0);
  // The current time, as the server has it now.
  TUniQuery now(&Database().Connection());
  now.SetSQL(u"SELECT NOW() AS agora");
  now.Open();
  EXPECT_LE(
      std::fabs(q.FieldByName(u"criado").AsDateTime() - now.FieldByName(u"agora").AsDateTime()),
      5.0 / 86400);
}

}  // namespace
