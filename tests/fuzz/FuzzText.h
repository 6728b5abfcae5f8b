// Fuzz input as UTF-16 text: after a first byte, the rest is read as UTF-8
// when that byte is even, else as raw 16-bit units (lone surrogates and all).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/Text.h"

namespace fuzz {

inline std::u16string Text(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const bool raw = data[0] & 1;
  ++data;
  --size;
  if (!raw) return rtl::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  return text;
}

// Stops the run at a broken property, so the fuzzer keeps the input.
inline void Check(bool property) {
  if (!property) std::abort();
}

}  // namespace fuzz
