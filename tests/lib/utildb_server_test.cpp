// The server inspection rules as tables, and the service operations over a
// fake service manager that logs every call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Lib/UtilDB.h"
#include "Lib/UtilDBServer.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace {

using Log = std::vector<std::string>;

std::string U8(const std::u16string& text) { return rtl::Utf16ToUtf8(text); }

TEST(BancoConfiguradoFromVersion, FlavourFromVersionText) {
  static const struct {
    std::optional<std::u16string> version;
    TBancoConfigurado expected;
  } cases[] = {
      {u"8.0.36", bcMySql8},
      {u"10.11.6-MariaDB", bcMariaDB},
      {u"10.8.0-MariaDB", bcMariaDB},  // contains "8.0" too: the name wins
      {u"5.7.44-log", bcMySql4},
      {u"8.4.0", bcMySql4},
      {std::nullopt, bcMySql4},
      {u"", bcMySql4},
      {u"10.11.19-MARIADB-0+deb12u1", bcMariaDB},
      {u"5.5.5-10.3.39-mariadb", bcMariaDB},
      {u"8.0.36-commercial", bcMySql8},
      {u"10.11.6-Maria DB", bcMySql4},
  };
  for (const auto& c : cases)
    EXPECT_EQ(utildb::BancoConfiguradoFromVersion(c.version), c.expected)
        << (c.version ? U8(*c.version) : "NULL");
}

TEST(BancoEngineFromName, EngineFromItsName) {
  static const struct {
    std::optional<std::u16string> engine;
    TBancoEngine expected;
  } cases[] = {
      {u"InnoDB", bcInnoDB}, {u"MyISAM", bcMyISAM},
      {u"Aria", bcMyISAM},   {u"MEMORY", bcMyISAM},
      {u"INNODB", bcInnoDB}, {std::nullopt, bcMyISAM},
      {u"", bcMyISAM},       {u"MyISAM-over-InnoDB", bcMyISAM},  // "myisam" is tested first
  };
  for (const auto& c : cases)
    EXPECT_EQ(utildb::BancoEngineFromName(c.engine), c.expected)
        << (c.engine ? U8(*c.engine) : "NULL");
}

TEST(RoundTo2, HalvesGoToEvenInExtendedPrecision) {
  static const struct {
    double value;
    double expected;
  } cases[] = {
      {0.125, 0.12},
      {0.375, 0.38},
      {0.625, 0.62},
      {-0.125, -0.12},
      {0.134, 0.13},
      {1536, 1536},
      {1.5, 1.5},
      {0, 0},
      // Stored a little off the tie: x 100 in double precision would land on
      // it exactly (1.5, 2.5, 6.5) and go to even, extended precision does not.
      {0.015, 0.01},
      {0.025, 0.03},
      {0.065, 0.07},
  };
  for (const auto& c : cases) EXPECT_EQ(utildb::RoundTo2(c.value), c.expected) << c.value;
}

TEST(SizeInMB, BytesToMegabytesAndGigabytes) {
  static const struct {
    std::int64_t data;
    std::int64_t index;
    double megabytes;
    double gigabytes;
  } cases[] = {
      {131072, 0, 0.12, 0.0},  // 0.125 MB: the tie goes to even
      {130048, 1024, 0.12, 0.0},
      {393216, 0, 0.38, 0.0},  // 0.375 MB
      {1610612736, 0, 1536.0, 1.5},
      {1073741824, 536870912, 1536.0, 1.5},
      {16384, 16384, 0.03, 0.0},
      {0, 0, 0.0, 0.0},
      {INT64_MAX, INT64_MAX, 17592186044416.0, 17179869184.0},  // no overflow
  };
  for (const auto& c : cases) {
    const double megabytes = utildb::SizeInMB(c.data, c.index);
    EXPECT_EQ(megabytes, c.megabytes) << c.data << " + " << c.index;
    EXPECT_EQ(utildb::SizeInGB(megabytes), c.gigabytes) << c.data << " + " << c.index;
  }
}

TEST(TableStatusStatement, QuotesTheNameAndThePattern) {
  static const struct {
    std::u16string database;
    std::u16string pattern;
    std::u16string expected;
  } cases[] = {
      {u"gerente", u"produto", u"SHOW TABLE STATUS FROM `gerente` LIKE \"produto\""},
      {u"gerente", u"prod%", u"SHOW TABLE STATUS FROM `gerente` LIKE \"prod%\""},
      {u"gerente", u"grupo_preco_filial",
       u"SHOW TABLE STATUS FROM `gerente` LIKE \"grupo_preco_filial\""},
      {u"a`b", u"x", u"SHOW TABLE STATUS FROM `a``b` LIKE \"x\""},
      {u"g` LIKE \"%\" -- ", u"x", u"SHOW TABLE STATUS FROM `g`` LIKE \"%\" -- ` LIKE \"x\""},
      {u"gerente", u"x\" -- ", u"SHOW TABLE STATUS FROM `gerente` LIKE \"x\\\" -- \""},
      {u"gerente", u"a'b\\c", u"SHOW TABLE STATUS FROM `gerente` LIKE \"a\\'b\\\\c\""},
      {u"", u"", u"SHOW TABLE STATUS FROM `` LIKE \"\""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(U8(utildb::TableStatusStatement(c.database, c.pattern)), U8(c.expected));
}

// A service manager over a table of hosts and their services. Every call,
// every close and every sleep is written to one log.
class FakeServiceManager : public os::ServiceManager {
 public:
  using State = os::ServiceState;
  struct Service {
    State state = State::kStopped;
    bool queryFails = false;
  };

  explicit FakeServiceManager(Log& log) : log_(log) {}

  // Hosts not listed cannot be reached; services not listed do not exist.
  std::map<std::u16string, std::map<std::u16string, Service>> hosts;

  std::unique_ptr<Handle> OpenManager(const std::u16string& host) override {
    Write("open manager " + U8(host));
    if (!hosts.count(host)) {
      lastError_ = EHOSTUNREACH;
      return nullptr;
    }
    return std::make_unique<FakeHandle>(log_, "close manager " + U8(host), host, nullptr);
  }

  std::unique_ptr<Handle> OpenService(Handle& manager, const std::u16string& name,
                                      std::uint32_t rights) override {
    const std::u16string& host = static_cast<FakeHandle&>(manager).host;
    Write("open service " + U8(host) + "/" + U8(name) + " rights " + std::to_string(rights));
    const auto service = hosts[host].find(name);
    if (service == hosts[host].end()) {
      lastError_ = ENOENT;
      return nullptr;
    }
    return std::make_unique<FakeHandle>(log_, "close service " + U8(host) + "/" + U8(name), host,
                                        &service->second, rights);
  }

  std::optional<State> QueryState(Handle& handle) override {
    const auto& service = static_cast<FakeHandle&>(handle);
    Write("query " + U8(service.host));
    if (service.service->queryFails) {
      lastError_ = EIO;
      return std::nullopt;
    }
    return service.service->state;
  }

  bool Start(Handle& handle) override {
    const auto& service = static_cast<FakeHandle&>(handle);
    Write("start " + U8(service.host));
    if (!(service.rights & os::kServiceStart)) {
      lastError_ = EACCES;
      return false;
    }
    if (service.service->state == State::kRunning) {
      lastError_ = EALREADY;
      return false;
    }
    service.service->state = State::kRunning;
    return true;
  }

  int LastError() const override { return lastError_; }

  os::SleepFunction Sleep() {
    return [this](std::uint32_t ms) { Write("sleep " + std::to_string(ms)); };
  }

 private:
  struct FakeHandle : Handle {
    FakeHandle(Log& log, std::string closing, std::u16string host, Service* service,
               std::uint32_t rights = 0)
        : log(log),
          closing(std::move(closing)),
          host(std::move(host)),
          service(service),
          rights(rights) {}
    ~FakeHandle() override { log.push_back(closing); }
    Log& log;
    std::string closing;
    std::u16string host;
    Service* service;
    std::uint32_t rights;
  };

  void Write(std::string line) { log_.push_back(std::move(line)); }

  Log& log_;
  int lastError_ = 0;
};

class ServiceControl : public ::testing::Test {
 protected:
  using State = os::ServiceState;

  bool IsRunning(const std::u16string& host, const std::u16string& name) {
    return TUtilDB::IsServiceRunning(manager_, host, name);
  }
  void Start(const std::u16string& host, const std::u16string& name) {
    TUtilDB::StartServiceUtil(manager_, manager_.Sleep(), host, name);
  }
  bool Ensure(TBancoConfigurado flavour, const std::vector<std::u16string>& hosts) {
    return TUtilDB::EnsureDBServiceRunning(manager_, manager_.Sleep(), flavour, hosts);
  }

  Log log_;
  FakeServiceManager manager_{log_};
};

#define EXPECT_OS_ERROR(expr, code)                                 \
  do {                                                              \
    try {                                                           \
      (void)(expr);                                                 \
      ADD_FAILURE() << #expr " did not throw";                      \
    } catch (const rtl::EOSError& e) {                              \
      EXPECT_EQ(e.Code(), code);                                    \
      EXPECT_EQ(U8(e.Message()), U8(rtl::OSError(code).Message())); \
    }                                                               \
  } while (false)

TEST_F(ServiceControl, IsServiceRunningReadsTheStateAndClosesBoth) {
  manager_.hosts[u"A"] = {{u"MySql", {State::kRunning}}, {u"MySql4", {State::kStartPending}}};
  EXPECT_TRUE(IsRunning(u"A", u"MySql"));
  EXPECT_FALSE(IsRunning(u"A", u"MySql4"));
  EXPECT_EQ(log_, (Log{"open manager A", "open service A/MySql rights 4", "query A",
                       "close service A/MySql", "close manager A", "open manager A",
                       "open service A/MySql4 rights 4", "query A", "close service A/MySql4",
                       "close manager A"}));
}

TEST_F(ServiceControl, IsServiceRunningIsFalseWhenTheStateCannotBeRead) {
  manager_.hosts[u""] = {{u"MariaDB", {State::kRunning, /*queryFails=*/true}}};
  EXPECT_FALSE(IsRunning(u"", u"MariaDB"));
  EXPECT_EQ(log_.back(), "close manager ");
}

TEST_F(ServiceControl, OpeningFailuresRaiseTheOsErrorAndCloseWhatWasOpened) {
  manager_.hosts[u"A"] = {};
  EXPECT_OS_ERROR(IsRunning(u"A", u"MySql"), 2);
  EXPECT_EQ(log_, (Log{"open manager A", "open service A/MySql rights 4", "close manager A"}));
  log_.clear();
  EXPECT_OS_ERROR(Start(u"B", u"MySql"), 113);
  EXPECT_EQ(log_, (Log{"open manager B"}));
}

TEST_F(ServiceControl, StartServiceUtilStartsAndThenWaitsFiveSeconds) {
  manager_.hosts[u"A"] = {{u"MySql", {State::kStopped}}};
  Start(u"A", u"MySql");
  EXPECT_EQ(log_, (Log{"open manager A", "open service A/MySql rights 20", "start A", "sleep 5000",
                       "close service A/MySql", "close manager A"}));
  EXPECT_TRUE(IsRunning(u"A", u"MySql"));
}

TEST_F(ServiceControl, StartingARunningServiceIsRefusedWithoutWaiting) {
  manager_.hosts[u"A"] = {{u"MySql", {State::kRunning}}};
  EXPECT_OS_ERROR(Start(u"A", u"MySql"), 114);
  EXPECT_EQ(log_, (Log{"open manager A", "open service A/MySql rights 20", "start A",
                       "close service A/MySql", "close manager A"}));
}

TEST_F(ServiceControl, BlankHostsContactNothing) {
  const std::vector<std::u16string> blanks = {u"", u"   ", u"\t\r\n", std::u16string(2, u'\0'),
                                              u"\x1f\x20"};
  for (TBancoConfigurado flavour : {bcMySql4, bcMySql8, bcMariaDB}) {
    EXPECT_FALSE(Ensure(flavour, {}));
    EXPECT_FALSE(Ensure(flavour, blanks));
  }
  EXPECT_TRUE(log_.empty());
}

TEST_F(ServiceControl, MySqlMissingEverywhereThenMySql4StartedOnB) {
  manager_.hosts[u"A"] = {};
  manager_.hosts[u"B"] = {{u"MySql4", {State::kStopped}}};
  EXPECT_TRUE(Ensure(bcMySql8, {u"A", u"", u"B"}));
  EXPECT_EQ(log_, (Log{"open manager A",
                       "open service A/MySql rights 4",
                       "close manager A",
                       "open manager B",
                       "open service B/MySql rights 4",
                       "close manager B",
                       "open manager A",
                       "open service A/MySql4 rights 4",
                       "close manager A",
                       "open manager B",
                       "open service B/MySql4 rights 4",
                       "query B",
                       "close service B/MySql4",
                       "close manager B",
                       "open manager B",
                       "open service B/MySql4 rights 20",
                       "start B",
                       "sleep 5000",
                       "close service B/MySql4",
                       "close manager B"}));
}

TEST_F(ServiceControl, MySqlRunningOnANeverTriesMySql4) {
  manager_.hosts[u"A"] = {{u"MySql", {State::kRunning}}, {u"MySql4", {State::kStopped}}};
  EXPECT_TRUE(Ensure(bcMySql4, {u"A"}));
  for (const std::string& line : log_) EXPECT_EQ(line.find("MySql4"), std::string::npos) << line;
  EXPECT_EQ(manager_.hosts[u"A"][u"MySql4"].state, State::kStopped);
}

TEST_F(ServiceControl, MariaDBTriesOnlyItsOwnService) {
  manager_.hosts[u"A"] = {{u"MySql", {State::kStopped}}, {u"MySql4", {State::kStopped}}};
  EXPECT_FALSE(Ensure(bcMariaDB, {u"A"}));
  EXPECT_EQ(log_, (Log{"open manager A", "open service A/MariaDB rights 4", "close manager A"}));
}

TEST_F(ServiceControl, EveryHostIsVisitedInOrderAndFailuresOnlyDropTheirHost) {
  // A success does not end the loop; hosts keep their blanks; an unreachable
  // host, a missing service and a start refused because the service runs
  // (its state could not be read) each count for nothing.
  manager_.hosts[u"A"] = {{u"MariaDB", {State::kRunning}}};
  manager_.hosts[u" B "] = {{u"MariaDB", {State::kStopped}}};
  manager_.hosts[u"C"] = {{u"MariaDB", {State::kRunning, /*queryFails=*/true}}};
  manager_.hosts[u"D"] = {};
  EXPECT_TRUE(Ensure(bcMariaDB, {u"X", u"A", u"C", u" B ", u"D", u" "}));
  Log visited;
  for (const std::string& line : log_)
    if (line.rfind("open manager ", 0) == 0) visited.push_back(line.substr(13));
  EXPECT_EQ(visited, (Log{"X", "A", "C", "C", " B ", " B ", "D"}));
  EXPECT_EQ(manager_.hosts[u" B "][u"MariaDB"].state, State::kRunning);
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "sleep 5000"), 1);

  log_.clear();
  EXPECT_FALSE(Ensure(bcMariaDB, {u"X", u"C", u"D"}));
  EXPECT_FALSE(log_.empty());
}

}  // namespace
