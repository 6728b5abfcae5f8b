// The ":name" marker parser through a query's parameters, and
// RemoverParametrosDuplicados with one value per marker, on any SQL text.
#include <set>

#include "Lib/UtilDB.h"
#include "platform/db/Query.h"
#include "platform/db/SqlParams.h"
#include "platform/rtl/LocaleCase.h"
#include "tests/fuzz/FuzzText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string sql = fuzz::Text(data, size);

  const db::ParsedSql parsed = db::ParseSqlParams(sql);
  std::size_t removed = 0;
  std::size_t previous = 0;
  for (const db::ParsedSql::Marker& marker : parsed.Markers) {
    fuzz::Check(!marker.Name.empty());
    fuzz::Check(marker.Offset >= previous && marker.Offset <= parsed.Text.size());
    fuzz::Check(sql.compare(marker.Position, 1 + marker.Name.size(), u":" + marker.Name) == 0);
    previous = marker.Offset;
    removed += 1 + marker.Name.size();
  }
  // Every other character is kept, but for "::" which loses one.
  fuzz::Check(parsed.Text.size() + removed <= sql.size());

  db::TUniQuery query;
  query.SetSQL(sql);
  std::set<std::u16string> names;
  for (int i = 0; i < query.Params().Count(); ++i)
    fuzz::Check(names.insert(rtl::AnsiLowerCase(query.Params()[i].Name)).second);

  // One value per marker leaves exactly one value per parameter.
  std::vector<rtl::Variant> values;
  for (std::size_t k = 0; k < parsed.Markers.size(); ++k)
    values.push_back(rtl::Variant(static_cast<std::int32_t>(k)));
  TUtilDB::RemoverParametrosDuplicados(query, values);
  for (int i = 0; i < query.Params().Count(); ++i) fuzz::Check(!query.Params()[i].Value.IsEmpty());
  return 0;
}
