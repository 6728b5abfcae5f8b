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
  // both separate), or the kernel's comm when the command line is empty.
  std::u16string ExeFile;
};

// A point-in-time list of the running processes in ascending id order.
// Empty when /proc cannot be read.
std::vector<ProcessEntry> ProcessSnapshot();

// Full path of a process's executable. Empty when the process cannot be
// opened (gone, id 0, or inspection refused with EACCES/EPERM); fails with
// rtl::EOSError when it was opened but its path cannot be read.
std::optional<std::u16string> ProcessExecutablePath(std::uint32_t pid);

// Full path of the running program's own executable.
std::u16string OwnExecutablePath();

// True when a regular file (or a link to one) exists at path; folders do not count.
bool FileExists(const std::u16string& path);

}  // namespace os
