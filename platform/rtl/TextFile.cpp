#include "platform/rtl/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace rtl {
namespace {

[[noreturn]] void FailCreate(const std::u16string& path, int error) {
  throw EFCreateError(u"Cannot create file \"" + path + u"\". " +
                      Utf8ToUtf16(std::strerror(error)));
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void SaveLinesToFile(const std::vector<std::u16string>& lines, const std::u16string& path,
                     const CodePage& codePage) {
  std::u16string text;
  for (const std::u16string& line : lines) text += line + u"\r\n";
  std::string bytes = codePage.IsUtf8() ? "\xEF\xBB\xBF" : "";
  bytes += codePage.Encode(text);

  const std::string target = Utf16ToUtf8(path);
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::random_device random;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
    temporary = folder + "." + target.substr(slash + 1) + "." + std::to_string(getpid()) + "." +
                std::to_string(random());
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) FailCreate(path, errno);
  }
  if (fd < 0) FailCreate(path, EEXIST);

  const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
  const int writeError = errno;
  if (close(fd) != 0 || !written || rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = written ? errno : writeError;
    unlink(temporary.c_str());
    FailCreate(path, error);
  }
}

}  // namespace rtl
