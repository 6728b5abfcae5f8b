// UTF-16 text helpers. All text of the system is std::u16string; these
// convert at the edges and give the few string operations the system names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rtl {

// UTF-8 to UTF-16; invalid byte sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// UTF-16 to UTF-8; lone surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Removes characters of code 32 or below from both ends.
std::u16string Trim(std::u16string_view text);
// Maps A-Z (resp. a-z) only; every other character is kept.
std::u16string AsciiUpperCase(std::u16string_view text);
std::u16string AsciiLowerCase(std::u16string_view text);

std::u16string IntToStr(std::int64_t value);
// Integer text as the platform reads it: leading blanks, an optional sign,
// decimal digits or "$"/"0x" hexadecimal; nothing after. Empty on any other
// text or when the value does not fit in 32 bits.
std::optional<std::int32_t> TryStrToInt(std::u16string_view text);
std::int32_t StrToIntDef(std::u16string_view text, std::int32_t fallback);
// As TryStrToInt, but fails with EConvertError "'%s' is not a valid integer value".
std::int32_t StrToInt(std::u16string_view text);

}  // namespace rtl
