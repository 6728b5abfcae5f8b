// The ":name" parameter markers of a SQL text, as TUniQuery reads them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace db {

// A SQL text with its markers taken out: Text is what goes to the server
// around the values, each marker's value being inserted at its Offset in
// Text. Position is where the marker's ":" stands in the original text.
struct ParsedSql {
  struct Marker {
    std::size_t Offset;
    std::size_t Position;
    std::u16string Name;
  };
  std::u16string Text;
  std::vector<Marker> Markers;
};

// A marker is ":" followed by a name of letters, digits, "_" and non-ASCII
// characters, in full. Markers inside '...', "..." and `...` quotes (with
// backslash escapes and doubled quotes) and inside comments ("-- " and "#"
// to the end of the line, "/* */") are text, and "::" stands for a plain ":".
ParsedSql ParseSqlParams(std::u16string_view sql);

}  // namespace db
