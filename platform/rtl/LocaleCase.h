// Locale-aware case mapping: ICU's lower-case mapping for the process's
// default locale (from LC_ALL, LC_MESSAGES or LANG; US English when none is
// set). Under a Turkish locale "I" becomes U+0131, for instance.
#pragma once

#include <string>
#include <string_view>

namespace rtl {

// text lower-cased for the default locale; the length may change. Fails with
// EOSError when the mapping cannot be done.
std::u16string AnsiLowerCase(std::u16string_view text);
// Whether a and b are the same text once both are lower-cased for the default locale.
bool AnsiSameText(std::u16string_view a, std::u16string_view b);

}  // namespace rtl
