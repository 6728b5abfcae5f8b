#include "platform/db/SqlParams.h"

namespace db {
namespace {

bool IsNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c >= 0x80;
}

}  // namespace

ParsedSql ParseSqlParams(std::u16string_view sql) {
  ParsedSql parsed;
  parsed.Text.reserve(sql.size());
  char16_t quote = 0;
  for (std::size_t i = 0; i < sql.size();) {
    const char16_t c = sql[i];
    if (quote) {
      parsed.Text += c;
      ++i;
      if (c == u'\\' && quote != u'`' && i < sql.size()) {
        parsed.Text += sql[i++];
      } else if (c == quote) {
        // A doubled quote stays inside the literal.
        if (i < sql.size() && sql[i] == quote) {
          parsed.Text += sql[i++];
        } else {
          quote = 0;
        }
      }
      continue;
    }
    if (c == u'\'' || c == u'"' || c == u'`') {
      quote = c;
      parsed.Text += c;
      ++i;
    } else if (c == u':' && i + 1 < sql.size() && sql[i + 1] == u':') {
      parsed.Text += u':';
      i += 2;
    } else if (c == u':' && i + 1 < sql.size() && IsNameChar(sql[i + 1])) {
      std::size_t end = i + 1;
      while (end < sql.size() && IsNameChar(sql[end])) ++end;
      parsed.Markers.push_back(
          {parsed.Text.size(), std::u16string(sql.substr(i + 1, end - i - 1))});
      i = end;
    } else {
      parsed.Text += c;
      ++i;
    }
  }
  return parsed;
}

}  // namespace db
