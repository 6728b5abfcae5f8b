// Server inspection and service control of TUtilDB.
#include "Lib/UtilDBServer.h"

#include <math.h>

#include <limits>

#include "Lib/UtilDB.h"
#include "platform/db/Query.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

static_assert(std::numeric_limits<long double>::digits >= 64,
              "the size rounding needs an extended-precision long double");

namespace utildb {

TBancoConfigurado BancoConfiguradoFromVersion(const std::optional<std::u16string>& version) {
  if (!version) return bcMySql4;
  const std::u16string text = rtl::AsciiLowerCase(*version);
  // "10.8.0-MariaDB" also contains "8.0": the flavour name decides first.
  if (text.find(u"mariadb") != std::u16string::npos) return bcMariaDB;
  if (text.find(u"8.0") != std::u16string::npos) return bcMySql8;
  return bcMySql4;
}

TBancoEngine BancoEngineFromName(const std::optional<std::u16string>& engine) {
  if (!engine) return bcMyISAM;
  const std::u16string text = rtl::AsciiLowerCase(*engine);
  if (text.find(u"myisam") != std::u16string::npos) return bcMyISAM;
  if (text.find(u"innodb") != std::u16string::npos) return bcInnoDB;
  return bcMyISAM;
}

std::u16string QuoteName(std::u16string_view name) {
  std::u16string quoted = u"`";
  for (const char16_t c : name) {
    if (c == u'`') quoted += u'`';
    quoted += c;
  }
  return quoted + u'`';
}

std::u16string Quote(std::u16string_view text) { return u'"' + TUtilDB::StringToSql(text) + u'"'; }

std::u16string TableStatusStatement(std::u16string_view database, std::u16string_view pattern) {
  return u"SHOW TABLE STATUS FROM " + QuoteName(database) + u" LIKE " + Quote(pattern);
}

double RoundTo2(long double value) {
  // roundevenl rounds halves to even whatever the floating-point rounding mode is.
  return static_cast<double>(::roundevenl(value * 100.0L) * 0.01L);
}

double SizeInMB(std::int64_t dataLength, std::int64_t indexLength) {
  // Summed in extended precision: exact up to 2^64 bytes, and no overflow.
  const long double bytes = static_cast<long double>(dataLength) + indexLength;
  return RoundTo2(bytes / 1024 / 1024);
}

double SizeInGB(double megabytes) { return RoundTo2(static_cast<long double>(megabytes) / 1024); }

}  // namespace utildb

namespace {

constexpr std::u16string_view kInspectionPrefix =
    u"Erro ao realizar a verificação de configuração de banco de dados.\r\nErro: ";

rtl::Exception InspectionError(const rtl::Exception& failure) {
  return rtl::Exception(std::u16string(kInspectionPrefix) + failure.Message());
}

// The text of a column of the first row; empty when it is NULL or there is no row.
std::optional<std::u16string> FirstRowText(const db::TUniQuery& query, int column) {
  const db::TField& field = query.Fields()[column];
  if (field.IsNull() || query.IsEmpty()) return std::nullopt;
  return field.AsString();
}

// A manager and one of its services, open; the service closes first.
struct OpenedService {
  std::unique_ptr<os::ServiceManager::Handle> manager;
  std::unique_ptr<os::ServiceManager::Handle> service;
};

OpenedService OpenService(os::ServiceManager& manager, const std::u16string& host,
                          const std::u16string& name, std::uint32_t rights) {
  OpenedService opened;
  opened.manager = manager.OpenManager(host);
  if (!opened.manager) throw rtl::OSError(manager.LastError());
  opened.service = manager.OpenService(*opened.manager, name, rights);
  if (!opened.service) throw rtl::OSError(manager.LastError());
  return opened;
}

// Checks, and starts where needed, the service on every host that is not
// blank; true when that worked on at least one. A host's failure is dropped.
bool TryService(os::ServiceManager& manager, const os::SleepFunction& sleep,
                const std::vector<std::u16string>& hosts, const std::u16string& name) {
  bool outcome = false;
  for (const std::u16string& host : hosts) {
    if (rtl::Trim(host).empty()) continue;
    try {
      if (!TUtilDB::IsServiceRunning(manager, host, name))
        TUtilDB::StartServiceUtil(manager, sleep, host, name);
      outcome = true;
    } catch (...) {
      // Whatever went wrong on this host, the others still count.
    }
  }
  return outcome;
}

}  // namespace

TBancoConfigurado TUtilDB::GetBancoConfigurado(db::TUniConnection& Conexao, bool bExcecao) {
  TBancoConfigurado result = bcMySql4;
  db::TUniQuery query(&Conexao);
  query.SetSQL(u"select @@GLOBAL.version");
  try {
    query.Open();
    result = utildb::BancoConfiguradoFromVersion(FirstRowText(query, 0));
  } catch (const rtl::Exception& failure) {
    if (bExcecao) throw InspectionError(failure);
  }
  return result;
}

TBancoEngine TUtilDB::GetBancoConfiguradoEngine(db::TUniConnection& Conexao, bool bExcecao) {
  try {
    if (GetBancoConfigurado(Conexao, bExcecao) == bcMySql4) return bcMyISAM;
    db::TUniQuery query(&Conexao);
    query.SetSQL(u"SHOW VARIABLES WHERE variable_name = \"default_storage_engine\"");
    query.Open();
    return utildb::BancoEngineFromName(FirstRowText(query, 1));
  } catch (const rtl::Exception& failure) {
    if (bExcecao) throw InspectionError(failure);
  }
  return bcMyISAM;
}

bool TUtilDB::isBancoEngineValidos(db::TUniConnection& Conexao) {
  const TBancoConfigurado flavour = GetBancoConfigurado(Conexao, false);
  const TBancoEngine engine = GetBancoConfiguradoEngine(Conexao, false);
  return flavour == bcMariaDB && engine == bcInnoDB;
}

double TUtilDB::GetSizeTableMB(db::TUniConnection& Conexao, const std::u16string& TableName) {
  try {
    db::TUniQuery query(&Conexao);
    query.SetSQL(utildb::TableStatusStatement(Conexao.Database, TableName));
    query.Open();
    if (query.IsEmpty()) return 0;
    return utildb::SizeInMB(query.FieldByName(u"data_length").AsLargeInt(),
                            query.FieldByName(u"index_length").AsLargeInt());
  } catch (...) {
    return 0;
  }
}

double TUtilDB::GetSizeTableGB(db::TUniConnection& Conexao, const std::u16string& TableName) {
  return utildb::SizeInGB(GetSizeTableMB(Conexao, TableName));
}

bool TUtilDB::IsServiceRunning(const std::u16string& Host, const std::u16string& ServiceName) {
  return IsServiceRunning(*os::SystemServiceManager(), Host, ServiceName);
}

bool TUtilDB::IsServiceRunning(os::ServiceManager& manager, const std::u16string& Host,
                               const std::u16string& ServiceName) {
  const OpenedService opened = OpenService(manager, Host, ServiceName, os::kServiceQueryStatus);
  return manager.QueryState(*opened.service) == os::ServiceState::kRunning;
}

void TUtilDB::StartServiceUtil(const std::u16string& Host, const std::u16string& ServiceName) {
  StartServiceUtil(*os::SystemServiceManager(), os::Sleep, Host, ServiceName);
}

void TUtilDB::StartServiceUtil(os::ServiceManager& manager, const os::SleepFunction& sleep,
                               const std::u16string& Host, const std::u16string& ServiceName) {
  const OpenedService opened =
      OpenService(manager, Host, ServiceName, os::kServiceStart | os::kServiceQueryStatus);
  if (!manager.Start(*opened.service)) throw rtl::OSError(manager.LastError());
  // Gives the server time to come up; nothing checks its state afterwards.
  sleep(5000);
}

bool TUtilDB::EnsureDBServiceRunning(TBancoConfigurado ABancoConfigurado,
                                     const std::vector<std::u16string>& AHosts) {
  return EnsureDBServiceRunning(*os::SystemServiceManager(), os::Sleep, ABancoConfigurado, AHosts);
}

bool TUtilDB::EnsureDBServiceRunning(os::ServiceManager& manager, const os::SleepFunction& sleep,
                                     TBancoConfigurado ABancoConfigurado,
                                     const std::vector<std::u16string>& AHosts) {
  if (ABancoConfigurado == bcMariaDB) return TryService(manager, sleep, AHosts, u"MariaDB");
  return TryService(manager, sleep, AHosts, u"MySql") ||
         TryService(manager, sleep, AHosts, u"MySql4");
}
