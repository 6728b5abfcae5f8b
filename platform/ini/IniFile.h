// Read-only profile files with the Windows profile-file rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/CodePage.h"

namespace ini {

class TIniFile {
 public:
  // Reads the whole file now; a missing or unreadable file reads as empty.
  // A UTF-16LE or UTF-8 byte-order mark selects that encoding, any other
  // file is read in the code page ansi.
  explicit TIniFile(const std::u16string& fileName,
                    const rtl::CodePage& ansi = rtl::CodePage::Ansi());

  // The value of key in section: blanks around it dropped, then one pair of
  // matching surrounding quotes, cut at a NUL and at 2047 characters. A
  // present key with an empty value gives the empty text; a missing key or
  // section gives fallback (cut at 2047 characters too). Names match without
  // regard to ASCII case and to blanks around them; the first matching
  // section, and in it the first matching key, win.
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view fallback) const;

 private:
  struct Entry {
    std::u16string key;  // ASCII lower-cased
    std::u16string value;
  };
  struct Section {
    std::u16string name;  // ASCII lower-cased
    std::vector<Entry> entries;
  };
  std::vector<Section> sections_;
};

}  // namespace ini
