// Field type names, temporal column types and table names taken from
// statements: tables of cases.
#include <gtest/gtest.h>

#include <string>

#include "Lib/UtilDB.h"
#include "Lib/UtilDBPrivate.h"
#include "platform/db/Field.h"
#include "platform/rtl/Text.h"

namespace {

std::string U8(const std::u16string& text) { return rtl::Utf16ToUtf8(text); }

TEST(TipodoCampo, NamesTheFirstTypesAndLargeintOnly) {
  const char16_t* names[] = {
      u"ftUnknown", u"ftString",     u"ftSmallint", u"ftInteger",     u"ftWord",  u"ftBoolean",
      u"ftFloat",   u"ftCurrency",   u"ftBCD",      u"ftDate",        u"ftTime",  u"ftDateTime",
      u"ftBytes",   u"ftVarBytes",   u"ftAutoInc",  u"ftBlob",        u"ftMemo",  u"ftGraphic",
      u"ftFmtMemo", u"ftParadoxOle", u"ftDBaseOle", u"ftTypedBinary", u"ftCursor"};
  for (int ordinal = 0; ordinal <= 22; ++ordinal)
    EXPECT_EQ(TUtilDB::TipodoCampo(static_cast<db::TFieldType>(ordinal)), names[ordinal]);
  EXPECT_EQ(TUtilDB::TipodoCampo(db::ftLargeint), u"ftLargeint");
  EXPECT_EQ(TUtilDB::TipodoCampo(db::ftCursor), u"ftCursor");
  for (const db::TFieldType unnamed :
       {db::ftFixedChar, db::ftWideString, db::ftADT, db::ftOraInterval, db::ftSingle})
    EXPECT_EQ(TUtilDB::TipodoCampo(unnamed), u"") << static_cast<int>(unnamed);
  for (int ordinal = 26; ordinal <= 51; ++ordinal)
    EXPECT_EQ(TUtilDB::TipodoCampo(static_cast<db::TFieldType>(ordinal)), u"") << ordinal;
}

TEST(IsDateField, ExactTemporalTypeNamesInAnyCase) {
  for (const char16_t* type : {u"DATE", u"DateTime", u"TIMESTAMP", u"Year", u"time", u"date"})
    EXPECT_TRUE(TUtilDB::IsDateField(type)) << U8(type);
  for (const char16_t* type :
       {u"datetime(6)", u"year(4)", u" date", u"date ", u"int(11)", u"", u"timestamp(3)", u"dates"})
    EXPECT_FALSE(TUtilDB::IsDateField(type)) << U8(type);
}

TEST(NomeTabela, TheNameAfterTheFirstFrom) {
  const struct {
    std::u16string sql;
    const char16_t* table;
  } cases[] = {
      {u"SELECT * FROM Produto WHERE codigo = 1", u"Produto"},
      {u"select *\r\nfrom\r\n   produto p", u"produto"},
      {u"select * from cadastro.produto", u"cadastro"},
      {u"select data_from from t", u"from"},
      {u"select * from `produto`", u""},
      {u"abcd efgh", u"efgh"},
      {u"select * from", u""},
      {u"select * from   ", u""},
      {u"abc", u""},
      {u"", u""},
      {u"select * from\tproduto", u"produto"},  // the character after "from" is passed over
      {u"select * from \tproduto", u""},        // tabs are not skipped
      {u"select * fromXprod_2 x", u"prod_2"},
      {u"select * FrOm \n\r Pre\u00e7o", u"Pre"},  // a letter beyond A-Z ends the name
      {u"select * from 9a_B.c", u"9a_B"},
      {u"select 1 from dual; select * from outra", u"dual"},
  };
  for (const auto& c : cases) EXPECT_EQ(TUtilDB::NomeTabela(c.sql), c.table) << U8(c.sql);
}

TEST(GetTableNameFromInsert, ThePieceAfterInto) {
  const struct {
    std::u16string sql;
    const char16_t* table;
  } cases[] = {
      {u"INSERT INTO produto(codigo, nome) VALUES (1, 2)", u"produto"},
      {u"insert into\r\nproduto (codigo) values (1)", u"produto"},
      {u"insert   into   cliente", u"cliente"},
      {u"insert into db.cliente values (1)", u"db.cliente"},
      {u"insert into `cliente x` values (1)", u"`cliente"},
      {u"insert into `cliente`(a) values (1)", u"`cliente`"},
      {u"insert into (a) values (1)", u""},
      {u"insert into\tcliente", u""},
      {u"update t set a = 1", u""},
      {u"insert into", u""},
      {u"insert into   ", u""},
      {u"", u""},
      {u"INTO", u""},
      {u"insert InTo\rcliente\n", u"cliente"},
      {u"insert into \x01\x02 cliente", u"cliente"},  // control characters trim away
      {u"insert into into t", u"t"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TUtilDB::GetTableNameFromInsert(c.sql), c.table) << U8(c.sql);
}

TEST(RemoverQuebrasDeLinha, EveryLineBreakBecomesOneSpace) {
  const struct {
    std::u16string text;
    std::u16string result;
  } cases[] = {
      {u"a\r\nb", u"a b"},  {u"a\n\rb", u"a  b"}, {u"a\r\r\nb", u"a  b"},
      {u"\r\n\r\n", u"  "}, {u"a\tb", u"a\tb"},   {u"\r", u" "},
      {u"", u""},           {u"x\n", u"x "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(utildb::RemoverQuebrasDeLinha(c.text), c.result) << U8(c.text);
}

}  // namespace
