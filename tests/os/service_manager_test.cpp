// The systemd backend over a real D-Bus: a private dbus-daemon with
// python3-dbusmock's systemd template stands in for the system bus of this
// test process, so the sd-bus calls themselves go over the wire.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Lib/UtilDB.h"
#include "platform/os/ServiceManager.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace {

namespace fs = std::filesystem;
using os::ServiceState;

constexpr char kPython[] = "/usr/bin/python3";
constexpr char kMockInterface[] = "org.freedesktop.DBus.Mock";
constexpr char kSystemdPath[] = "/org/freedesktop/systemd1";

// The template has GetUnit only; LoadUnit answers as systemd does: the path
// of a known unit, or of a "not-found" one for a name without a unit file.
constexpr char kLoadUnit[] = R"(name = args[0]
if name in self.units:
    ret = self.units[name]
else:
    ret = '/org/freedesktop/systemd1/unit/' + name.replace('.', '_').replace('-', '_')
    if ret not in objects:
        self.AddObject(ret, 'org.freedesktop.systemd1.Unit',
                       {'Id': name, 'Names': [name], 'LoadState': 'not-found',
                        'ActiveState': 'inactive'}, [])
)";

// Stands in for ssh as sd-bus runs it for a remote host: the host "serverb"
// is this test's private bus, reached through a relay of standard input and
// output; any other host cannot be reached. Every host asked for is logged.
constexpr char kFakeSsh[] = R"(#!/bin/sh
here=$(dirname "$0")
echo "$3" >>"$here/ssh.log"
[ "$*" = "-xT -- serverb systemd-stdio-bridge" ] || exit 255
exec /usr/bin/python3 "$here/relay.py" "$here/bus.sock"
)";

constexpr char kRelay[] = R"(import os, select, socket, sys
bus = socket.socket(socket.AF_UNIX)
bus.connect(sys.argv[1])
while True:
    ready, _, _ = select.select([0, bus], [], [])
    if 0 in ready:
        data = os.read(0, 65536)
        if not data:
            break
        bus.sendall(data)
    if bus in ready:
        data = bus.recv(65536)
        if not data:
            break
        while data:
            data = data[os.write(1, data):]
)";

std::string FindProgram(const std::string& name) {
  const char* path = getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = folder + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

// Runs argv with output to log; the child dies with this process.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& log) {
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  FILE* out = freopen(log.c_str(), "a", stdout);
  if (!out || dup2(fileno(stdout), STDERR_FILENO) < 0) _exit(127);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

bool PythonHasTemplate() {
  if (access(kPython, X_OK) != 0) return false;
  const pid_t pid = Spawn({kPython, "-c", "import dbusmock.templates.systemd"}, "/dev/null");
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

// Retries check every 20 ms for up to 20 s.
template <typename Check>
bool WaitFor(Check check) {
  for (int tries = 0; tries < 1000; ++tries) {
    if (check()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

std::string U8(const std::u16string& text) { return rtl::Utf16ToUtf8(text); }

class MockedSystemd : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string daemon = FindProgram("dbus-daemon");
    if (daemon.empty() || !PythonHasTemplate())
      GTEST_SKIP() << "needs dbus-daemon and python3-dbusmock";
    std::string pattern = (fs::temp_directory_path() / "cz-systemd-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    const std::string socket = folder_ + "/bus.sock";
    daemonPid_ = Spawn({daemon, "--session", "--nofork", "--address=unix:path=" + socket}, Log());
    ASSERT_TRUE(WaitFor([&] { return access(socket.c_str(), F_OK) == 0; })) << LogText();
    // This process and the mock (started after this) take it as the system bus.
    setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + socket).c_str(), 1);
    WriteFile("ssh", kFakeSsh, 0700);
    WriteFile("relay.py", kRelay, 0600);
    const char* path = getenv("PATH");
    oldPath_ = path ? path : "";
    setenv("PATH", (folder_ + ":" + *oldPath_).c_str(), 1);
    mockPid_ = Spawn({kPython, "-m", "dbusmock", "--template", "systemd"}, Log());
    ASSERT_GE(sd_bus_open_system(&bus_), 0);
    ASSERT_TRUE(WaitFor([&] { return NameHasOwner("org.freedesktop.systemd1"); })) << LogText();
    CallMock("AddMethod", "sssss", "org.freedesktop.systemd1.Manager", "LoadUnit", "s", "o",
             kLoadUnit);
  }

  void TearDown() override {
    if (bus_) sd_bus_flush_close_unref(bus_);
    Stop(mockPid_);
    Stop(daemonPid_);
    unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (oldPath_) setenv("PATH", oldPath_->c_str(), 1);
    if (!folder_.empty()) fs::remove_all(folder_);
  }

  void WriteFile(const std::string& name, const char* text, mode_t mode) {
    const std::string path = folder_ + "/" + name;
    std::ofstream(path) << text;
    chmod(path.c_str(), mode);
  }

  // The hosts the fake ssh was asked for, one a line.
  std::string SshLog() const {
    std::ifstream in(folder_ + "/ssh.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Calls a method of the mock's own interface on the manager object.
  template <typename... Args>
  void CallMock(const char* method, const char* signature, Args... args) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const int r = sd_bus_call_method(bus_, "org.freedesktop.systemd1", kSystemdPath, kMockInterface,
                                     method, &error, nullptr, signature, args...);
    EXPECT_GE(r, 0) << method << ": " << (error.message ? error.message : "") << LogText();
    sd_bus_error_free(&error);
  }

  void AddUnit(const char* unit) { CallMock("AddMockUnit", "s", unit); }

  bool NameHasOwner(const char* name) {
    sd_bus_message* reply = nullptr;
    int owned = 0;
    const bool asked = sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                          "org.freedesktop.DBus", "NameHasOwner", nullptr, &reply,
                                          "s", name) >= 0 &&
                       sd_bus_message_read(reply, "b", &owned) >= 0;
    sd_bus_message_unref(reply);
    return asked && owned;
  }

  std::string Log() const { return folder_ + "/bus.log"; }
  std::string LogText() const {
    std::ifstream in(Log());
    return "\n" + std::string(std::istreambuf_iterator<char>(in), {});
  }

  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
  std::optional<std::string> oldPath_;
  pid_t daemonPid_ = -1;
  pid_t mockPid_ = -1;
  sd_bus* bus_ = nullptr;
};

TEST_F(MockedSystemd, LoadsReadsAndStartsTheLowerCasedUnit) {
  AddUnit("mariadb.service");
  const auto manager = os::SystemServiceManager();
  const auto scm = manager->OpenManager(u"");
  ASSERT_TRUE(scm) << manager->LastError();
  const auto service =
      manager->OpenService(*scm, u"MariaDB", os::kServiceQueryStatus | os::kServiceStart);
  ASSERT_TRUE(service) << manager->LastError();
  EXPECT_EQ(manager->QueryState(*service), ServiceState::kStopped);
  EXPECT_TRUE(manager->Start(*service)) << manager->LastError();
  EXPECT_EQ(manager->QueryState(*service), ServiceState::kRunning);
  // systemd would take a second start as a no-op; the seam refuses it.
  EXPECT_FALSE(manager->Start(*service));
  EXPECT_EQ(manager->LastError(), EALREADY);

  EXPECT_FALSE(manager->OpenService(*scm, u"NaoExiste", os::kServiceQueryStatus));
  EXPECT_EQ(manager->LastError(), ENOENT);
}

TEST_F(MockedSystemd, StartNeedsTheStartRight) {
  AddUnit("mysql.service");
  const auto manager = os::SystemServiceManager();
  const auto scm = manager->OpenManager(u"");
  ASSERT_TRUE(scm);
  const auto service = manager->OpenService(*scm, u"MySql", os::kServiceQueryStatus);
  ASSERT_TRUE(service);
  EXPECT_FALSE(manager->Start(*service));
  EXPECT_EQ(manager->LastError(), EACCES);
  EXPECT_EQ(manager->QueryState(*service), ServiceState::kStopped);
}

TEST_F(MockedSystemd, AStateThatCannotBeReadIsEmpty) {
  AddUnit("mysql.service");
  const auto manager = os::SystemServiceManager();
  const auto scm = manager->OpenManager(u"");
  ASSERT_TRUE(scm);
  const auto service = manager->OpenService(*scm, u"MySql", os::kServiceQueryStatus);
  ASSERT_TRUE(service);
  CallMock("RemoveObject", "o", "/org/freedesktop/systemd1/unit/mysql_service");
  EXPECT_EQ(manager->QueryState(*service), std::nullopt);
  EXPECT_NE(manager->LastError(), 0);
}

TEST_F(MockedSystemd, ServiceOperationsOfTUtilDB) {
  AddUnit("mysql4.service");
  std::vector<std::uint32_t> sleeps;
  const os::SleepFunction sleep = [&](std::uint32_t ms) { sleeps.push_back(ms); };
  EXPECT_FALSE(TUtilDB::IsServiceRunning(u"", u"MySql4"));
  TUtilDB::StartServiceUtil(*os::SystemServiceManager(), sleep, u"", u"MySql4");
  EXPECT_EQ(sleeps, std::vector<std::uint32_t>{5000});
  EXPECT_TRUE(TUtilDB::IsServiceRunning(u"", u"MySql4"));

  try {
    TUtilDB::IsServiceRunning(u"", u"MySql");
    ADD_FAILURE() << "no exception";
  } catch (const rtl::EOSError& e) {
    EXPECT_EQ(e.Code(), ENOENT);
    EXPECT_EQ(U8(e.Message()), "System Error.  Code: 2.\r\nNo such file or directory");
  }
  // Refused before the wait, so the real sleep is not reached.
  try {
    TUtilDB::StartServiceUtil(u"", u"MySql4");
    ADD_FAILURE() << "no exception";
  } catch (const rtl::EOSError& e) {
    EXPECT_EQ(e.Code(), EALREADY);
  }
}

TEST_F(MockedSystemd, RemoteHostsOverSsh) {
  AddUnit("mariadb.service");
  std::vector<std::uint32_t> sleeps;
  const os::SleepFunction sleep = [&](std::uint32_t ms) { sleeps.push_back(ms); };
  const auto manager = os::SystemServiceManager();
  // The blank and the empty host are skipped, serverc cannot be reached,
  // serverb gets its service started.
  EXPECT_TRUE(TUtilDB::EnsureDBServiceRunning(*manager, sleep, bcMariaDB,
                                              {u"", u"serverc", u" ", u"serverb"}));
  EXPECT_EQ(sleeps, std::vector<std::uint32_t>{5000});
  EXPECT_EQ(SshLog(), "serverc\nserverb\nserverb\n");
  EXPECT_TRUE(TUtilDB::IsServiceRunning(u"", u"MariaDB"));

  // Nothing answers for serverc: the failure shows on the first call.
  try {
    TUtilDB::IsServiceRunning(u"serverc", u"MariaDB");
    ADD_FAILURE() << "no exception";
  } catch (const rtl::EOSError& e) {
    EXPECT_NE(e.Code(), 0) << e.what();
  }
}

TEST(SystemdServiceManager, NoBusIsAnOsError) {
  const std::string missing =
      (fs::temp_directory_path() / ("cz-no-bus-" + std::to_string(getpid()))).string();
  setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + missing).c_str(), 1);
  const auto manager = os::SystemServiceManager();
  EXPECT_FALSE(manager->OpenManager(u""));
  EXPECT_EQ(manager->LastError(), ENOENT);
  try {
    TUtilDB::IsServiceRunning(u"", u"MariaDB");
    ADD_FAILURE() << "no exception";
  } catch (const rtl::EOSError& e) {
    EXPECT_EQ(e.Code(), ENOENT);
  }
  EXPECT_FALSE(TUtilDB::EnsureDBServiceRunning(bcMariaDB, {u""}));
  unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}

}  // namespace
