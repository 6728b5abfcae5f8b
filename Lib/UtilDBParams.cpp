// Duplicate parameter removal of TUtilDB: one value per marker of the text
// assigned to a query that holds one parameter per name.
#include <algorithm>
#include <set>
#include <unordered_map>

#include "Lib/UtilDB.h"
#include "platform/db/Query.h"
#include "platform/db/SqlParams.h"
#include "platform/rtl/LocaleCase.h"

void TUtilDB::OrdenarListaParams(std::vector<TParamsTratado>& Lista) {
  std::sort(Lista.begin(), Lista.end(), [](const TParamsTratado& a, const TParamsTratado& b) {
    return a.GetIndice() < b.GetIndice();
  });
}

TArrayOfInteger TUtilDB::ListarDuplicados(std::vector<TParamsTratado>& Lista) {
  OrdenarListaParams(Lista);
  TArrayOfInteger duplicados;
  // The names are lower-cased already, so equal texts are the same name.
  std::set<std::u16string> vistos;
  for (size_t i = 0; i < Lista.size(); ++i)
    if (!vistos.insert(Lista[i].GetNome()).second)
      duplicados.push_back(static_cast<std::int32_t>(i));
  return duplicados;
}

void TUtilDB::RemoverParametrosDuplicados(db::TUniQuery& oQuery,
                                          const std::vector<rtl::Variant>& Params) {
  // The markers as the query itself reads them, so a marker of a longer name
  // or one inside a quoted text is no occurrence of a parameter.
  std::unordered_map<std::u16string, std::vector<std::size_t>> posicoes;
  for (const db::ParsedSql::Marker& marcador : db::ParseSqlParams(oQuery.SQL()).Markers)
    posicoes[rtl::AnsiLowerCase(marcador.Name)].push_back(marcador.Position);
  std::vector<TParamsTratado> lista;
  for (int i = 0; i < oQuery.Params().Count(); ++i) {
    const std::u16string nome = rtl::AnsiLowerCase(oQuery.Params()[i].Name);
    const auto achadas = posicoes.find(nome);
    if (achadas == posicoes.end()) continue;
    for (const std::size_t posicao : achadas->second) {
      TParamsTratado ocorrencia;
      ocorrencia.SetIndice(static_cast<std::int32_t>(posicao + 1));
      ocorrencia.SetNome(nome);
      lista.push_back(std::move(ocorrencia));
    }
  }
  const TArrayOfInteger duplicados = ListarDuplicados(lista);
  int j = 0;
  for (size_t k = 0; k < Params.size(); ++k) {
    if (std::binary_search(duplicados.begin(), duplicados.end(), static_cast<std::int32_t>(k)))
      continue;
    oQuery.Params()[j].Value = Params[k];
    ++j;
  }
}
