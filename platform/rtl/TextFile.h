// Saving text lines to a file, written whole.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/CodePage.h"

namespace rtl {

// Writes every line followed by CR LF, encoded in the code page (with a
// byte-order mark when it is UTF-8), to a temporary file in the same folder
// and renames it over path, so a reader never sees a half-written file.
// Fails with EFCreateError "Cannot create file \"%s\". %s" (path and the
// system's reason) when the file cannot be written; path is then untouched.
void SaveLinesToFile(const std::vector<std::u16string>& lines, const std::u16string& path,
                     const CodePage& codePage = CodePage::Ansi());

}  // namespace rtl
