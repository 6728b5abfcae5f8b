// The work of one run after start-up, on the demo catalogue: connecting,
// the product query, the branch's flag and writing produto.txt; and the
// lookup alone on an open connection. Run through bench/run-lookup-bench,
// which starts a throwaway server with the catalogue.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Cotacao.h"
#include "app/ProductQueries.h"
#include "platform/db/Query.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Text.h"

namespace {

void Configure(db::TUniConnection& connection) {
  const char* port = std::getenv("CZ_DB_PORT");
  connection.Server = u"127.0.0.1";
  connection.Port = port ? std::atoi(port) : 3306;
  connection.Database = u"gerente";
  connection.Username = u"root";
  connection.Password = rtl::Utf8ToUtf16(std::getenv("CZ_DB_PASSWORD") ?: "");
}

// The lookup of one barcode for branch 1, record written to path.
void Quote(db::TUniConnection& connection, const std::u16string& barcode,
           const std::u16string& path) {
  db::TUniQuery produto(&connection), preco(&connection);
  produto.SetSQL(SqlPorBarrasProduto(1, CodigoDeBusca(barcode)));
  produto.Open();
  if (produto.IsEmpty()) {
    produto.SetSQL(SqlPorTabelaBarras(1, CodigoDeBusca(barcode)));
    produto.Open();
  }
  if (produto.IsEmpty()) throw std::runtime_error("demo product missing");
  GravarCotacao(barcode, produto, rtl::Today(), [&] {
    preco.SetSQL(SqlTipoPrecoCotacao(1));
    preco.Open();
    return UsaCotacao(preco.FieldByName(u"tipo_preco_cotacao").AsVariant());
  }, path);
}

const std::u16string& RecordPath() {
  static const std::u16string path = rtl::Utf8ToUtf16(
      (std::filesystem::temp_directory_path() / "cz-bench-produto.txt").string());
  return path;
}

void BM_ConnectAndQuote(benchmark::State& state) {
  for (auto _ : state) {
    db::TUniConnection connection;
    Configure(connection);
    connection.Connect();
    Quote(connection, u"7891000100103", RecordPath());
  }
}
BENCHMARK(BM_ConnectAndQuote)->Unit(benchmark::kMicrosecond);

// Found only through the barcode table: both product statements run.
void BM_QuoteOnOpenConnection(benchmark::State& state) {
  db::TUniConnection connection;
  Configure(connection);
  connection.Connect();
  const std::u16string barcode = state.range(0) ? u"7891000100318" : u"7891000100103";
  for (auto _ : state) Quote(connection, barcode, RecordPath());
}
BENCHMARK(BM_QuoteOnOpenConnection)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
