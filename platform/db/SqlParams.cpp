#include "platform/db/SqlParams.h"

namespace db {
namespace {

bool IsNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c >= 0x80;
}

// The end of the quoted literal or identifier that opens at start.
std::size_t QuoteEnd(std::u16string_view sql, std::size_t start) {
  const char16_t quote = sql[start];
  for (std::size_t i = start + 1; i < sql.size(); ++i) {
    if (sql[i] == u'\\' && quote != u'`') {
      ++i;
    } else if (sql[i] == quote) {
      // A doubled quote stays inside.
      if (i + 1 < sql.size() && sql[i + 1] == quote) {
        ++i;
      } else {
        return i + 1;
      }
    }
  }
  return sql.size();
}

// The end of the comment that opens at start, or start when none does.
std::size_t CommentEnd(std::u16string_view sql, std::size_t start) {
  const std::u16string_view rest = sql.substr(start);
  // "--" opens a comment only when a blank or control character follows.
  if (rest.starts_with(u"#") ||
      (rest.starts_with(u"--") && (rest.size() == 2 || rest[2] <= u' '))) {
    const std::size_t end = sql.find(u'\n', start);
    return end == sql.npos ? sql.size() : end;
  }
  if (rest.starts_with(u"/*")) {
    const std::size_t end = sql.find(u"*/", start + 2);
    return end == sql.npos ? sql.size() : end + 2;
  }
  return start;
}

}  // namespace

ParsedSql ParseSqlParams(std::u16string_view sql) {
  ParsedSql parsed;
  parsed.Text.reserve(sql.size());
  for (std::size_t i = 0; i < sql.size();) {
    const char16_t c = sql[i];
    std::size_t end = i + 1;
    if (c == u'\'' || c == u'"' || c == u'`') {
      end = QuoteEnd(sql, i);
    } else if (const std::size_t comment = CommentEnd(sql, i); comment > i) {
      end = comment;
    } else if (c == u':' && end < sql.size() && sql[end] == u':') {
      parsed.Text += u':';
      i = end + 1;
      continue;
    } else if (c == u':' && end < sql.size() && IsNameChar(sql[end])) {
      while (end < sql.size() && IsNameChar(sql[end])) ++end;
      parsed.Markers.push_back(
          {parsed.Text.size(), i, std::u16string(sql.substr(i + 1, end - i - 1))});
      i = end;
      continue;
    }
    parsed.Text.append(sql.substr(i, end - i));
    i = end;
  }
  return parsed;
}

}  // namespace db
