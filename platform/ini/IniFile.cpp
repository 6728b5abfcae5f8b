#include "platform/ini/IniFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/rtl/Text.h"

namespace ini {
namespace {

// The profile functions return values through a 2048-character buffer.
constexpr std::size_t kMaxValueLength = 2047;

std::string ReadFileBytes(const std::u16string& fileName) {
  const std::string path = rtl::Utf16ToUtf8(fileName);
  // No Linux name holds a NUL; opening the shorter name before it would read another file.
  if (path.find('\0') != std::string::npos) return {};
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  const struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    // A file that fails part way (a folder, an I/O error) reads as empty.
    if (count < 0) return {};
    if (count == 0) return bytes;
    bytes.append(buffer, count);
  }
}

std::u16string DecodeFile(std::string_view bytes, const rtl::CodePage& ansi) {
  if (bytes.starts_with("\xFF\xFE")) {
    bytes.remove_prefix(2);
    std::u16string text(bytes.size() / 2, u'\0');  // a trailing odd byte is dropped
    for (std::size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return text;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) return rtl::Utf8ToUtf16(bytes.substr(3));
  return ansi.Decode(bytes);
}

std::u16string_view Unquote(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// What the caller's buffer receives: the text up to its first NUL, at most
// kMaxValueLength characters, never the first half of a surrogate pair.
std::u16string Returned(std::u16string_view value) {
  value = value.substr(0, value.find(u'\0'));
  if (value.size() > kMaxValueLength) {
    value = value.substr(0, kMaxValueLength);
    if (value.back() >= 0xD800 && value.back() <= 0xDBFF) value.remove_suffix(1);
  }
  return std::u16string(value);
}

std::u16string NameKey(std::u16string_view name) { return rtl::AsciiLowerCase(rtl::Trim(name)); }

}  // namespace

TIniFile::TIniFile(const std::u16string& fileName, const rtl::CodePage& ansi) {
  const std::u16string text = DecodeFile(ReadFileBytes(fileName), ansi);
  const std::u16string_view all(text);
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) end = all.size();
    const std::u16string line = rtl::Trim(all.substr(start, end - start));
    start = end + 1;

    const std::size_t close = line.rfind(u']');
    if (line.starts_with(u'[') && close != std::u16string::npos) {
      sections_.push_back({NameKey(std::u16string_view(line).substr(1, close - 1)), {}});
      continue;
    }
    const std::size_t equals = line.find(u'=');
    // Entries before the first section belong to none and cannot be read.
    if (equals == std::u16string::npos || sections_.empty()) continue;
    const std::u16string_view entry(line);
    sections_.back().entries.push_back(
        {NameKey(entry.substr(0, equals)),
         std::u16string(Unquote(rtl::Trim(entry.substr(equals + 1))))});
  }
}

std::u16string TIniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view fallback) const {
  const std::u16string sectionName = NameKey(section);
  const auto found = std::find_if(sections_.begin(), sections_.end(),
                                  [&](const Section& s) { return s.name == sectionName; });
  // Only the first section of a name counts, even when a later one has the key.
  if (found != sections_.end()) {
    const std::u16string keyName = NameKey(key);
    for (const Entry& entry : found->entries)
      if (entry.key == keyName) return Returned(entry.value);
  }
  return Returned(fallback);
}

}  // namespace ini
