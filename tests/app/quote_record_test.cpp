#include <gtest/gtest.h>

#include "app/Completa.h"
#include "app/Cotacao.h"
#include "app/ProductQueries.h"
#include "platform/rtl/Text.h"
#include "tests/support/ExpectThrow.h"

namespace {

using rtl::Currency;

TEST(Completa, FillsWithoutCutting) {
  EXPECT_EQ(CompletaEsquerda(u"789", u"0", 13), u"0000000000789");
  EXPECT_EQ(CompletaEsquerda(u"78912345678901", u"0", 13), u"78912345678901");
  EXPECT_EQ(CompletaEsquerda(u"12", u"ab", 5), u"ababab12");  // the filler is repeated whole
  EXPECT_EQ(CompletaDireita(u"789", u" ", 13), u"789          ");
  EXPECT_EQ(CompletaDireita(u"\u00e7\u00e3", u" ", 4), u"\u00e7\u00e3  ");  // 16-bit characters
  EXPECT_EQ(CompletaDireita(u"abc", u" ", -5), u"abc");
}

TEST(CodigoDeBusca, TrimsThenFillsToThirteen) {
  EXPECT_EQ(CodigoDeBusca(u" 123456 "), u"0000000123456");
  EXPECT_EQ(CodigoDeBusca(u""), u"0000000000000");
  EXPECT_EQ(CodigoDeBusca(u"\t789\r\n"), u"0000000000789");
  EXPECT_EQ(CodigoDeBusca(u"78910000001031"), u"78910000001031");
}

TEST(FormatarPrecos, CentsRoundHalfAwayFromZeroInBothLayouts) {
  static const struct {
    std::int64_t count;  // 1/10 000
    const char16_t* text;
  } cents[] = {
      {180000, u"000000001800"}, {123456, u"000000001235"}, {123449, u"000000001234"},
      {50, u"000000000001"},     {49, u"000000000000"},     {0, u"000000000000"},
      {-50, u"-000000000001"},   {-49, u"000000000000"},    {-180000, u"-000000001800"},
      {99999999999990000, u"999999999999900"},  // beyond 12 digits: written whole
  };
  for (const auto& c : cents) {
    const Currency amount = Currency::FromCount(c.count);
    EXPECT_EQ(FormatarPrecos(false, amount, Currency()), std::u16string(c.text) + u"000000000000" + u"0")
        << c.count;
  }
  const Currency venda = Currency::FromCount(180000), cotacao = Currency::FromCount(159000);
  EXPECT_EQ(FormatarPrecos(false, venda, cotacao), u"000000001800000000001590" u"0");
  EXPECT_EQ(FormatarPrecos(true, cotacao, cotacao), u"000000001590" u"0" u"000000001590");
}

TEST(UsaCotacao, LowEightBitsOfTheSettingAsInteger) {
  EXPECT_TRUE(UsaCotacao(rtl::Variant(1)));
  EXPECT_TRUE(UsaCotacao(rtl::Variant(true)));
  EXPECT_TRUE(UsaCotacao(rtl::Variant(1.5)));   // rounds to 2
  EXPECT_TRUE(UsaCotacao(rtl::Variant(u"tRuE")));
  EXPECT_FALSE(UsaCotacao(rtl::Variant(0)));
  EXPECT_FALSE(UsaCotacao(rtl::Variant(256)));
  EXPECT_FALSE(UsaCotacao(rtl::Variant(0.5)));  // halves to even: 0
  EXPECT_FALSE(UsaCotacao(rtl::Variant(false)));
  EXPECT_THROW_MSG(UsaCotacao(rtl::Variant::Null()), rtl::EVariantTypeCastError,
                   "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_THROW(UsaCotacao(rtl::Variant(u"S")), rtl::EVariantTypeCastError);
}

TEST(ProductQueries, StatementsAsTheStoreSystemWritesThem) {
  const std::u16string base =
      u" SELECT \r\n   produto.descricao \r\n  ,produto.labora \r\n"
      u"  ,grupo_preco_produto.preco_pro \r\n  ,grupo_preco_produto.valid_pro \r\n"
      u"  ,grupo_preco_produto.dtiniciopromocao \r\n  ,grupo_preco_produto.preco_vnd \r\n"
      u"  ,produto.Produto_id \r\n  ,grupo_preco_produto.desconto \r\n FROM \r\n   produto \r\n"
      u" JOIN grupo_preco_filial ON \r\n   grupo_preco_filial.filial_id = 12 AND \r\n"
      u"   grupo_preco_filial.apagado   = \"N\" \r\n JOIN grupo_preco_produto ON \r\n"
      u"   grupo_preco_produto.grupo_preco_id = grupo_preco_filial.grupo_preco_id  AND \r\n"
      u"   grupo_preco_produto.produto_id     = produto.produto_id AND \r\n"
      u"   grupo_preco_produto.apagado        = \"N\" \r\n";
  EXPECT_EQ(SqlBaseProduto(12), base);
  EXPECT_EQ(SqlPorBarrasProduto(12, u"0000000123456"),
            base + u" WHERE \r\n   produto.apagado = \"N\" AND \r\n"
                   u"   produto.barras  = \"0000000123456\"");
  EXPECT_EQ(SqlPorTabelaBarras(12, u"0000000123456"),
            base + u" JOIN barras ON \r\n   barras.produto_id = produto.produto_id AND \r\n"
                   u"   barras.apagado    = \"N\" \r\n WHERE \r\n"
                   u"   produto.apagado = \"N\" AND \r\n   barras.barras   = \"0000000123456\"");
  EXPECT_NE(SqlBaseProduto(-1).find(u"filial_id = -1 AND"), std::u16string::npos);
  EXPECT_EQ(SqlTipoPrecoCotacao(-1),
            u"SELECT tipo_preco_cotacao FROM filial_venda WHERE apagado = \"N\" AND filial_id = -1");
}

TEST(ProductQueries, TheSearchCodeStaysOneStringValue) {
  static const struct {
    std::u16string code;
    std::u16string literal;
  } cases[] = {
      {u"\" OR \"1\"=\"1", u"\"\\\" OR \\\"1\\\"=\\\"1\""},
      {u"a\\", u"\"a\\\\\""},
      {u"o'b", u"\"o\\'b\""},
      {std::u16string(u"a\0b", 3), u"\"a\\0b\""},
      {u"\r\n\x1a", u"\"\\r\\n\\Z\""},
  };
  for (const auto& c : cases) {
    const std::u16string sql = SqlPorBarrasProduto(1, c.code);
    EXPECT_EQ(sql.substr(sql.size() - c.literal.size()), c.literal) << rtl::Utf16ToUtf8(c.code);
  }
}

}  // namespace
