// The ANSI code page stand-in: the 8-bit encoding in which the system reads
// and writes files. A UTF-8 locale plays code page 65001, an 8-bit locale its
// own code page, and the C/POSIX (ASCII) locale Windows-1252.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace rtl {

class CodePage {
 public:
  // The process's code page, from the locale's codeset (call setlocale first).
  static const CodePage& Ansi();
  // A code page by its ICU converter name ("windows-1252", "UTF-8", ...).
  explicit CodePage(const std::string& name);
  ~CodePage();
  CodePage(const CodePage&) = delete;
  CodePage& operator=(const CodePage&) = delete;

  bool IsUtf8() const { return utf8_; }
  // Characters the code page lacks become "?" (lone surrogates U+FFFD in UTF-8).
  std::string Encode(std::u16string_view text) const;
  // Bytes the code page does not map become U+FFFD.
  std::u16string Decode(std::string_view bytes) const;

 private:
  struct Converter;
  std::unique_ptr<Converter> converter_;
  bool utf8_;
};

// The ICU converter name standing in for a locale codeset (nl_langinfo(CODESET)).
std::string AnsiCodePageNameForCodeset(std::string_view codeset);

}  // namespace rtl
