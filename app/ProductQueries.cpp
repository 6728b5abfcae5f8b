#include "app/ProductQueries.h"

#include "Lib/UtilDB.h"
#include "app/Completa.h"
#include "platform/rtl/Text.h"

namespace {

std::u16string QuotedCode(const std::u16string& Codigo) {
  return u"\"" + TUtilDB::StringToSql(Codigo) + u"\"";
}

}  // namespace

std::u16string CodigoDeBusca(const std::u16string& CodigoBarras) {
  return CompletaEsquerda(rtl::Trim(CodigoBarras), u"0", 13);
}

std::u16string SqlBaseProduto(std::int32_t Filial) {
  return u" SELECT \r\n"
         u"   produto.descricao \r\n"
         u"  ,produto.labora \r\n"
         u"  ,grupo_preco_produto.preco_pro \r\n"
         u"  ,grupo_preco_produto.valid_pro \r\n"
         u"  ,grupo_preco_produto.dtiniciopromocao \r\n"
         u"  ,grupo_preco_produto.preco_vnd \r\n"
         u"  ,produto.Produto_id \r\n"
         u"  ,grupo_preco_produto.desconto \r\n"
         u" FROM \r\n"
         u"   produto \r\n"
         u" JOIN grupo_preco_filial ON \r\n"
         u"   grupo_preco_filial.filial_id = " +
         rtl::IntToStr(Filial) +
         u" AND "
         u"\r\n"
         u"   grupo_preco_filial.apagado   = \"N\" "
         u"\r\n"
         u" JOIN grupo_preco_produto ON "
         u"\r\n"
         u"   grupo_preco_produto.grupo_preco_id = grupo_preco_filial.grupo_preco_id  AND "
         u"\r\n"
         u"   grupo_preco_produto.produto_id     = produto.produto_id AND "
         u"\r\n"
         u"   grupo_preco_produto.apagado        = \"N\" "
         u"\r\n";
}

std::u16string SqlPorBarrasProduto(std::int32_t Filial, const std::u16string& Codigo) {
  return SqlBaseProduto(Filial) +
         u" WHERE "
         u"\r\n"
         u"   produto.apagado = \"N\" AND "
         u"\r\n"
         u"   produto.barras  = " +
         QuotedCode(Codigo);
}

std::u16string SqlPorTabelaBarras(std::int32_t Filial, const std::u16string& Codigo) {
  return SqlBaseProduto(Filial) +
         u" JOIN barras ON "
         u"\r\n"
         u"   barras.produto_id = produto.produto_id AND "
         u"\r\n"
         u"   barras.apagado    = \"N\" "
         u"\r\n"
         u" WHERE "
         u"\r\n"
         u"   produto.apagado = \"N\" AND "
         u"\r\n"
         u"   barras.barras   = " +
         QuotedCode(Codigo);
}

std::u16string SqlTipoPrecoCotacao(std::int32_t Filial) {
  return u"SELECT tipo_preco_cotacao FROM filial_venda WHERE apagado = \"N\" AND filial_id = " +
         rtl::IntToStr(Filial);
}
