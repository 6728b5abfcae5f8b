#include "platform/os/Process.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Removes a folder tree through descriptors, so no path grows past PATH_MAX.
void RemoveTree(int parentFd, const char* name) {
  const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    DIR* dir = fdopendir(fd);
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir))
      if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..")
        names.emplace_back(entry->d_name);
    for (const std::string& child : names)
      if (unlinkat(fd, child.c_str(), 0) != 0) RemoveTree(fd, child.c_str());
    closedir(dir);
  }
  unlinkat(parentFd, name, AT_REMOVEDIR);
}

// A private folder under the temporary folder, optionally nested depth
// folders of 250-character names deep; built through descriptors so that its
// path may pass PATH_MAX.
class TempFolder {
 public:
  explicit TempFolder(int depth = 0) {
    std::string pattern = (fs::canonical(fs::temp_directory_path()) / "cz-os-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    top_ = path_ = pattern;
    fd_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const std::string component(250, 'd');
    for (int i = 0; i < depth; ++i) {
      if (mkdirat(fd_, component.c_str(), 0700) != 0) throw std::runtime_error("mkdirat failed");
      const int inner = openat(fd_, component.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      close(fd_);
      fd_ = inner;
      path_ += "/" + component;
    }
  }
  ~TempFolder() {
    close(fd_);
    RemoveTree(AT_FDCWD, top_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  int Fd() const { return fd_; }

  // Copies the waiting program into the folder as name.
  void AddProgram(const std::string& name) const {
    static const std::string program = [] {
      std::ifstream in(CZ_WAITING_PROGRAM, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    const int out = openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
    const bool written =
        out >= 0 && write(out, program.data(), program.size()) == ssize_t(program.size());
    if (out >= 0) close(out);
    if (program.empty() || !written) throw std::runtime_error("cannot copy the waiting program");
  }

 private:
  std::string top_;
  std::string path_;
  int fd_;
};

// A running copy of the waiting program, killed and reaped on every path.
class Child {
 public:
  // Runs folder's program name with argv0 as argv[0] and returns once it runs:
  // the kernel lets posix_spawn return before exec has set the new command
  // line, so the program itself reports on a pipe.
  Child(const TempFolder& folder, const std::string& name, const std::string& argv0) {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addfchdir_np(&actions, folder.Fd());
    posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
    const std::string path = "./" + name;
    std::string first = argv0;
    char* argv[] = {first.data(), nullptr};
    const int error = posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    char byte = 0;
    ssize_t count;
    while ((count = read(ready[0], &byte, 1)) < 0 && errno == EINTR) {
    }
    close(ready[0]);
    if (error != 0) {
      pid_ = -1;
      throw std::runtime_error("posix_spawn failed: " + std::to_string(error));
    }
    if (count != 1) {
      Reap();
      throw std::runtime_error("the waiting program did not start");
    }
  }
  Child(Child&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
  ~Child() { Reap(); }

  std::uint32_t Pid() const { return static_cast<std::uint32_t>(pid_); }

  void Reap() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }

  // Kills the child and waits until it is a zombie, leaving it unreaped.
  void KillToZombie() const {
    kill(pid_, SIGKILL);
    siginfo_t info;
    while (waitid(P_PID, pid_, &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
  }

 private:
  pid_t pid_ = -1;
};

// The name a snapshot lists for pid, if it lists pid.
std::optional<std::u16string> NameIn(const std::vector<os::ProcessEntry>& snapshot,
                                     std::uint32_t pid) {
  const auto found = std::find_if(snapshot.begin(), snapshot.end(),
                                  [pid](const os::ProcessEntry& e) { return e.Id == pid; });
  if (found == snapshot.end()) return std::nullopt;
  return found->ExeFile;
}

std::u16string U16(const std::string& text) { return rtl::Utf8ToUtf16(text); }

TEST(ProcessSnapshot, ListsRunningProgramsByFileNameInAscendingIdOrder) {
  const TempFolder folder;
  const std::string names[] = {"Pracel.exe", "PracelDCL.exe", "SistemaVorn.exe", "XPracel.exe"};
  std::vector<Child> children;
  for (const std::string& name : names) {
    folder.AddProgram(name);
    children.emplace_back(folder, name, folder.Path() + "/" + name);
  }

  const std::vector<os::ProcessEntry> snapshot = os::ProcessSnapshot();
  EXPECT_EQ(std::adjacent_find(
                snapshot.begin(), snapshot.end(),
                [](const os::ProcessEntry& a, const os::ProcessEntry& b) { return a.Id >= b.Id; }),
            snapshot.end());
  for (std::size_t i = 0; i < children.size(); ++i) {
    EXPECT_EQ(NameIn(snapshot, children[i].Pid()), U16(names[i]));
    EXPECT_EQ(os::ProcessExecutablePath(children[i].Pid()), U16(folder.Path() + "/" + names[i]));
  }
}

TEST(ProcessSnapshot, NamesTheLastComponentOfArgv0) {
  const struct {
    const char* argv0;
    std::u16string exeFile;
  } cases[] = {
      {"C:\\Prog\\Pracel.exe", u"Pracel.exe"},
      {"Pracel.exe", u"Pracel.exe"},
      {"C:/Prog\\Loja/PracelDCL.exe", u"PracelDCL.exe"},
      {"/opt/loja/../SistemaVorn.exe", u"SistemaVorn.exe"},
      {"Z:\\Pre\xc3\xa7o.exe", u"Pre\u00e7o.exe"},
      {"decoy", u"decoy"},
      // argv[0] that names no file: the kernel's name for the program instead
      {"", u"Pracel.exe"},
      {"C:\\Prog\\", u"Pracel.exe"},
  };
  const TempFolder folder;
  folder.AddProgram("Pracel.exe");
  std::vector<Child> children;
  for (const auto& c : cases) children.emplace_back(folder, "Pracel.exe", c.argv0);

  const std::vector<os::ProcessEntry> snapshot = os::ProcessSnapshot();
  for (std::size_t i = 0; i < children.size(); ++i) {
    EXPECT_EQ(NameIn(snapshot, children[i].Pid()), cases[i].exeFile) << cases[i].argv0;
    // argv[0] is only a name; the path is the program really run.
    EXPECT_EQ(os::ProcessExecutablePath(children[i].Pid()), U16(folder.Path() + "/Pracel.exe"));
  }
}

TEST(ProcessSnapshot, ZombieIsNamedByCommAndCannotBeOpened) {
  const TempFolder folder;
  folder.AddProgram("SistemaVorn.exe");
  Child child(folder, "SistemaVorn.exe", "decoy");
  EXPECT_EQ(NameIn(os::ProcessSnapshot(), child.Pid()), u"decoy");

  child.KillToZombie();
  EXPECT_EQ(NameIn(os::ProcessSnapshot(), child.Pid()), u"SistemaVorn.exe");
  EXPECT_EQ(os::ProcessExecutablePath(child.Pid()), std::nullopt);
}

TEST(ProcessExecutablePath, GoneProcessAndIdZeroCannotBeOpened) {
  const TempFolder folder;
  folder.AddProgram("Pracel.exe");
  Child child(folder, "Pracel.exe", "Pracel.exe");
  const std::uint32_t pid = child.Pid();
  ASSERT_NE(os::ProcessExecutablePath(pid), std::nullopt);
  child.Reap();

  EXPECT_EQ(os::ProcessExecutablePath(pid), std::nullopt);
  EXPECT_EQ(NameIn(os::ProcessSnapshot(), pid), std::nullopt);
  EXPECT_EQ(os::ProcessExecutablePath(0), std::nullopt);
  EXPECT_EQ(os::ProcessExecutablePath(0xFFFFFFFF), std::nullopt);
}

TEST(ProcessExecutablePathDeathTest, AnotherUsersProcessCannotBeOpenedButIsListed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run a process another user may not inspect";
  const TempFolder folder;
  folder.AddProgram("Pracel.exe");
  const Child child(folder, "Pracel.exe", "Pracel.exe");
  const std::uint32_t pid = child.Pid();
  // Exit codes say which step failed.
  EXPECT_EXIT(
      {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        if (os::ProcessExecutablePath(pid).has_value()) _exit(3);
        _exit(NameIn(os::ProcessSnapshot(), pid) == u"Pracel.exe" ? 0 : 4);
      },
      testing::ExitedWithCode(0), "");
}

TEST(ProcessExecutablePath, LongPathsAreReadWhole) {
  const TempFolder folder(4);
  ASSERT_GT(folder.Path().size(), 1000u);
  folder.AddProgram("Pracel.exe");
  const Child child(folder, "Pracel.exe", "Pracel.exe");
  EXPECT_EQ(os::ProcessExecutablePath(child.Pid()), U16(folder.Path() + "/Pracel.exe"));
}

TEST(ProcessExecutablePath, PathBeyondWhatTheKernelHandsOutFails) {
  const TempFolder folder(20);
  ASSERT_GT(folder.Path().size(), 4096u);
  folder.AddProgram("Pracel.exe");
  const Child child(folder, "Pracel.exe", "./Pracel.exe");

  EXPECT_EQ(NameIn(os::ProcessSnapshot(), child.Pid()), u"Pracel.exe");
  try {
    os::ProcessExecutablePath(child.Pid());
    ADD_FAILURE() << "opened but unreadable path did not fail";
  } catch (const rtl::EOSError& e) {
    EXPECT_EQ(e.Code(), ENAMETOOLONG);
    EXPECT_TRUE(e.Message().starts_with(u"System Error.  Code: 36.\r\n")) << e.what();
  }
}

TEST(ProcessExecutablePath, DeletedExecutableGivesThePathItHad) {
  const TempFolder folder;
  folder.AddProgram("Pracel.exe");
  folder.AddProgram("Pracel.exe (deleted)");
  const Child deleted(folder, "Pracel.exe", "Pracel.exe");
  const Child named(folder, "Pracel.exe (deleted)", "Pracel.exe (deleted)");
  ASSERT_EQ(unlinkat(folder.Fd(), "Pracel.exe", 0), 0);

  EXPECT_EQ(os::ProcessExecutablePath(deleted.Pid()), U16(folder.Path() + "/Pracel.exe"));
  EXPECT_EQ(os::ProcessExecutablePath(named.Pid()), U16(folder.Path() + "/Pracel.exe (deleted)"));
}

TEST(OwnExecutablePath, IsThisTestProgram) {
  const std::u16string own = os::OwnExecutablePath();
  EXPECT_EQ(own, U16(fs::canonical(CZ_TEST_PROGRAM).string()));
  EXPECT_EQ(os::ProcessExecutablePath(getpid()), own);
}

TEST(FileExists, OnlyRegularFilesAndLinksToThemCount) {
  const TempFolder folder;
  const fs::path base = folder.Path();
  std::ofstream(base / "sistema_vorn.ini") << "[ip]\n";
  std::ofstream(base / "Pre\xc3\xa7o.ini") << "";
  fs::create_directory(base / "sub");
  fs::create_symlink(base / "sistema_vorn.ini", base / "toFile");
  fs::create_symlink(base / "sub", base / "toFolder");
  fs::create_symlink(base / "missing", base / "dangling");

  const std::u16string folderName = U16(folder.Path());
  const struct {
    std::u16string path;
    bool exists;
  } cases[] = {
      {folderName + u"/sistema_vorn.ini", true},
      {folderName + u"/Pre\u00e7o.ini", true},
      {folderName + u"/toFile", true},
      {folderName + u"/sub", false},
      {folderName + u"/toFolder", false},
      {folderName + u"/dangling", false},
      {folderName + u"/missing", false},
      {folderName, false},
      {u"/dev/null", false},
      {u"", false},
      {folderName + u"/sistema_vorn.ini" + std::u16string(1, u'\0') + u"x", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(os::FileExists(c.path), c.exists) << rtl::Utf16ToUtf8(c.path);
}

}  // namespace
