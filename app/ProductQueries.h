// The statements of the product lookup. Pure: the branch id and the barcode
// are passed in; the texts go to the server exactly as built.
#pragma once

#include <cstdint>
#include <string>

// The barcode as searched: trimmed, then filled on the left with "0" to 13.
std::u16string CodigoDeBusca(const std::u16string& CodigoBarras);

// The common start of both product statements, for branch Filial.
std::u16string SqlBaseProduto(std::int32_t Filial);
// Search by the product's own barcode; the code is escaped so that it is
// always compared as one string value.
std::u16string SqlPorBarrasProduto(std::int32_t Filial, const std::u16string& Codigo);
// Search through the table of further barcodes.
std::u16string SqlPorTabelaBarras(std::int32_t Filial, const std::u16string& Codigo);
// The branch's quote-price setting.
std::u16string SqlTipoPrecoCotacao(std::int32_t Filial);
