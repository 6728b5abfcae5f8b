// Running processes and executable paths, read from /proc.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace os {

struct ProcessEntry {
  std::uint32_t Id;
  // File name of the executable: the last component of argv[0] ("/" and "\"
  // both separate), or the kernel's comm when argv[0] names no file (kernel
  // threads and zombies have an empty command line).
  std::u16string ExeFile;
};

// A point-in-time list of the running processes in ascending id order.
// Processes that end while it is taken are left out. Empty when /proc
// cannot be read.
std::vector<ProcessEntry> ProcessSnapshot();

// Full path of a process's executable. Empty when the process cannot be
// opened: id 0, gone, without an executable image (a zombie or a kernel
// thread), or inspection refused with EACCES/EPERM. Fails with rtl::EOSError
// when it was opened but its path cannot be read (ENAMETOOLONG for a path
// longer than the kernel hands out, about 4 kB). An executable deleted while
// running gives the path it had, without the kernel's " (deleted)" mark.
std::optional<std::u16string> ProcessExecutablePath(std::uint32_t pid);

// Full path of the running program's own executable; fails with
// rtl::EOSError when it cannot be read.
std::u16string OwnExecutablePath();

// True when a regular file (or a link to one) exists at path; folders and
// devices do not count.
bool FileExists(const std::u16string& path);

}  // namespace os
