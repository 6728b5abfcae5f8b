// NomeTabela, GetTableNameFromInsert and RemoverQuebrasDeLinha on any text.
#include "Lib/UtilDB.h"
#include "Lib/UtilDBPrivate.h"
#include "tests/fuzz/FuzzText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = fuzz::Text(data, size);

  const std::u16string table = TUtilDB::NomeTabela(text);
  fuzz::Check(text.find(table) != std::u16string::npos);
  for (const char16_t c : table)
    fuzz::Check((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                c == u'_');

  const std::u16string spaced = utildb::RemoverQuebrasDeLinha(text);
  fuzz::Check(spaced.size() <= text.size());
  fuzz::Check(spaced.find_first_of(u"\r\n") == std::u16string::npos);

  const std::u16string inserted = TUtilDB::GetTableNameFromInsert(text);
  fuzz::Check(spaced.find(inserted) != std::u16string::npos);
  fuzz::Check(inserted.find_first_of(u" (") == std::u16string::npos);
  return 0;
}
