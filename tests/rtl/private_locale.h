// A locale built with localedef into a private folder for the life of the
// test process, so tests can run under a locale the machine does not have.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace testlocale {

// Builds name (e.g. "pt_BR.UTF-8" from the sources "pt_BR" and charmap
// "UTF-8") and points LOCPATH at it. False when the locale sources (the
// locales package) or localedef are missing.
inline bool BuildPrivateLocale(const std::string& source, const std::string& charmap,
                               const std::string& name) {
  struct Folder {
    std::string path;
    ~Folder() {
      std::error_code ignored;
      if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
  };
  static Folder folder;
  if (folder.path.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "cz-locale-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    folder.path = pattern;
  }
  const std::string target = folder.path + "/" + name;
  const std::string command =
      "localedef -c -i " + source + " -f " + charmap + " '" + target + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) == -1 || !std::filesystem::exists(target + "/LC_NUMERIC"))
    return false;
  return setenv("LOCPATH", folder.path.c_str(), 1) == 0;
}

// Builds pt_BR.UTF-8 (decimal comma, day/month/year dates) and makes it the
// process's locale through LC_ALL; call before anything reads the locale.
inline bool UseBrazilianLocale() {
  return BuildPrivateLocale("pt_BR", "UTF-8", "pt_BR.UTF-8") &&
         setenv("LC_ALL", "pt_BR.UTF-8", 1) == 0;
}

}  // namespace testlocale

// glibc's newlocale keeps the parsed LOCPATH list for ever; that is no leak of
// ours, so the leak checker of sanitizer builds is told to ignore it. Include
// this header in one file of a test program only.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() {
  return "leak:__argz_add_sep\n";
}
