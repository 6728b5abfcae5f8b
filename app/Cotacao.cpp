#include "app/Cotacao.h"

#include <cmath>

#include "app/Completa.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Text.h"
#include "platform/rtl/TextFile.h"
#include "platform/rtl/Variant.h"

namespace {

// Twelve digits at least, rounded to whole cents with halves away from zero.
std::u16string Centavos(rtl::Currency valor) {
  const long double centavos = std::round(static_cast<long double>(valor.Count()) * 100 / 10000);
  const std::u16string texto =
      CompletaEsquerda(rtl::IntToStr(static_cast<long long>(std::fabs(centavos))), u"0", 12);
  return centavos < 0 ? u"-" + texto : texto;  // -0 is not below 0: no sign
}

}  // namespace

rtl::Currency PrecoVendaComDesconto(const db::TDataSet& Produto) {
  const db::TField& vnd = Produto.FieldByName(u"preco_vnd");
  const db::TField& desconto = Produto.FieldByName(u"desconto");
  if (vnd.IsNull() || desconto.IsNull()) return rtl::VarToCurrency(rtl::Variant::Null());
  const double q = desconto.AsFloat() / 100;
  const double p = vnd.AsFloat() * q;
  const double r = vnd.AsFloat() - p;
  return rtl::VarToCurrency(rtl::Variant(r));
}

rtl::Currency PrecoCotacao(const db::TDataSet& Produto, rtl::TDateTime Hoje) {
  const bool promocao = !(Hoje > Produto.FieldByName(u"valid_pro").AsDateTime()) &&
                        !(Hoje < Produto.FieldByName(u"dtiniciopromocao").AsDateTime());
  if (promocao) return rtl::VarToCurrency(Produto.FieldByName(u"preco_pro").AsVariant());
  return PrecoVendaComDesconto(Produto);
}

bool UsaCotacao(const rtl::Variant& TipoPrecoCotacao) {
  return (rtl::VarToInt32(TipoPrecoCotacao) & 0xFF) != 0;
}

std::u16string FormatarPrecos(bool UsaCotacao, rtl::Currency PrecoVenda,
                              rtl::Currency PrecoCotacao) {
  if (UsaCotacao) return Centavos(PrecoCotacao) + u"0" + Centavos(PrecoVenda);
  return Centavos(PrecoVenda) + Centavos(PrecoCotacao) + u"0";
}

std::u16string LinhaCotacao(const std::u16string& CodigoBarras, const db::TDataSet& Produto,
                            bool UsaCotacao, rtl::Currency PrecoVenda,
                            rtl::Currency PrecoCotacao) {
  return CompletaDireita(CodigoBarras, u" ", 13) +
         CompletaDireita(Produto.FieldByName(u"descricao").AsString(), u" ", 90) +
         CompletaDireita(Produto.FieldByName(u"labora").AsString().substr(0, 25), u" ", 25) +
         FormatarPrecos(UsaCotacao, PrecoVenda, PrecoCotacao);
}

void GravarCotacao(const std::u16string& CodigoBarras, const db::TDataSet& Produto,
                   rtl::TDateTime Hoje, const std::function<bool()>& UsaPrecoCotacao,
                   const std::u16string& Arquivo) {
  const rtl::Currency cotacao = PrecoCotacao(Produto, Hoje);
  const bool usaCotacao = UsaPrecoCotacao();
  const rtl::Currency venda = usaCotacao ? cotacao : PrecoVendaComDesconto(Produto);
  rtl::SaveLinesToFile({LinhaCotacao(CodigoBarras, Produto, usaCotacao, venda, cotacao)}, Arquivo);
}
