#include "platform/os/Process.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace os {
namespace {

std::string ProcPath(std::uint32_t pid, const char* entry) {
  return "/proc/" + std::to_string(pid) + "/" + entry;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// The text of a /proc file up to the first terminator (or its end); nothing
// when the file cannot be read, as when the process has just ended.
std::optional<std::string> ReadUpTo(const std::string& path, char terminator) {
  const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t count = read(fd.Get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return std::nullopt;
    if (count == 0) return text;
    const char* end = std::find(buffer, buffer + count, terminator);
    text.append(buffer, end - buffer);
    if (end != buffer + count) return text;
  }
}

// The file name of a process's executable: the last component of argv[0],
// "/" and "\" both separating, else its comm (kernel threads and zombies
// have an empty command line). Nothing when the process is gone.
std::optional<std::string> ExeFileOf(std::uint32_t pid) {
  const std::optional<std::string> argv0 = ReadUpTo(ProcPath(pid, "cmdline"), '\0');
  if (!argv0) return std::nullopt;
  // npos + 1 is 0: no separator keeps the whole of argv[0].
  std::string name = argv0->substr(argv0->find_last_of("/\\") + 1);
  if (!name.empty()) return name;
  return ReadUpTo(ProcPath(pid, "comm"), '\n');
}

// The target of a symbolic link, however long; the errno on failure.
int ReadLink(const std::string& link, std::string& target) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = readlink(link.c_str(), buffer.data(), buffer.size());
    if (length < 0) return errno;
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(length);
      target = std::move(buffer);
      return 0;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// An executable unlinked while running (replaced by an update, say) reads
// as "PATH (deleted)"; its folder is still where the program was installed,
// so the marker goes. A file really named so still has links and keeps it.
std::u16string ExecutablePath(const std::string& link, std::string target) {
  constexpr std::string_view kDeleted = " (deleted)";
  struct stat status;
  if (target.ends_with(kDeleted) && stat(link.c_str(), &status) == 0 && status.st_nlink == 0)
    target.resize(target.size() - kDeleted.size());
  return rtl::Utf8ToUtf16(target);
}

}  // namespace

std::vector<ProcessEntry> ProcessSnapshot() {
  std::vector<std::uint32_t> ids;
  {
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    if (!proc) return {};
    while (const dirent* entry = readdir(proc.get())) {
      const std::string_view name(entry->d_name);
      std::uint32_t id = 0;
      const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
      if (error == std::errc() && end == name.data() + name.size()) ids.push_back(id);
    }
  }
  std::sort(ids.begin(), ids.end());

  std::vector<ProcessEntry> processes;
  processes.reserve(ids.size());
  for (const std::uint32_t id : ids)
    if (const std::optional<std::string> name = ExeFileOf(id))
      processes.push_back({id, rtl::Utf8ToUtf16(*name)});
  return processes;
}

std::optional<std::u16string> ProcessExecutablePath(std::uint32_t pid) {
  if (pid == 0) return std::nullopt;
  const std::string link = ProcPath(pid, "exe");
  std::string target;
  if (const int error = ReadLink(link, target)) {
    // ENOENT: gone, or a zombie or kernel thread without an executable image.
    if (error == ENOENT || error == EACCES || error == EPERM) return std::nullopt;
    throw rtl::OSError(error);
  }
  return ExecutablePath(link, std::move(target));
}

std::u16string OwnExecutablePath() {
  const std::string link = "/proc/self/exe";
  std::string target;
  if (const int error = ReadLink(link, target)) throw rtl::OSError(error);
  return ExecutablePath(link, std::move(target));
}

bool FileExists(const std::u16string& path) {
  const std::string name = rtl::Utf16ToUtf8(path);
  if (name.find('\0') != std::string::npos) return false;
  struct stat status;
  return stat(name.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace os
