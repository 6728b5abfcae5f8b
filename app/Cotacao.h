// The price rule and the fixed-width quote record written to produto.txt.
#pragma once

#include <functional>
#include <string>

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variant.h"

namespace db {
class TDataSet;
}

// The quoted price of the product row: preco_pro while the promotion runs
// (dtiniciopromocao <= Hoje <= valid_pro), else the discounted sale price.
// NULL amounts fail with the variant conversion error (Null into Currency).
rtl::Currency PrecoCotacao(const db::TDataSet& Produto, rtl::TDateTime Hoje);

// preco_vnd - preco_vnd * (desconto / 100), in double precision, as currency.
rtl::Currency PrecoVendaComDesconto(const db::TDataSet& Produto);

// The branch's quote-price flag from its setting: the low eight bits of the
// value as a 32-bit integer. NULL and texts that are no number fail with the
// variant conversion error.
bool UsaCotacao(const rtl::Variant& TipoPrecoCotacao);

// The price field: two twelve-digit amounts in cents and a "0", laid out by
// the branch's quote-price flag.
std::u16string FormatarPrecos(bool UsaCotacao, rtl::Currency PrecoVenda,
                              rtl::Currency PrecoCotacao);

// The record line (without its CR LF) for the product row.
std::u16string LinhaCotacao(const std::u16string& CodigoBarras, const db::TDataSet& Produto,
                            bool UsaCotacao, rtl::Currency PrecoVenda,
                            rtl::Currency PrecoCotacao);

// Prices the product row, asks for the branch's flag (after the quoted price
// is known, as the store system does) and writes the record to Arquivo.
void GravarCotacao(const std::u16string& CodigoBarras, const db::TDataSet& Produto,
                   rtl::TDateTime Hoje, const std::function<bool()>& UsaPrecoCotacao,
                   const std::u16string& Arquivo);
