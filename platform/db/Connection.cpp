#include "platform/db/Connection.h"

#include "platform/db/MySql.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace db {

void RaiseMySqlError(MYSQL* handle) {
  std::u16string message = rtl::Utf8ToUtf16(mysql_error(handle));
  if (message.empty()) message = u"Unknown database error " + rtl::IntToStr(mysql_errno(handle));
  throw rtl::EDatabaseError(std::move(message));
}

TUniConnection::TUniConnection() : impl_(std::make_unique<Impl>()) {}

TUniConnection::~TUniConnection() { Disconnect(); }

void TUniConnection::Connect() {
  Disconnect();
  MYSQL* handle = mysql_init(nullptr);
  if (!handle) throw rtl::EDatabaseError(u"Out of memory while connecting");
  const unsigned protocol = MYSQL_PROTOCOL_TCP;
  mysql_options(handle, MYSQL_OPT_PROTOCOL, &protocol);
  mysql_options(handle, MYSQL_OPT_CONNECT_TIMEOUT, &TimeoutSeconds);
  mysql_options(handle, MYSQL_OPT_READ_TIMEOUT, &TimeoutSeconds);
  mysql_options(handle, MYSQL_OPT_WRITE_TIMEOUT, &TimeoutSeconds);
  mysql_options(handle, MYSQL_SET_CHARSET_NAME, "utf8mb4");

  const std::string host = Server.empty() ? "localhost" : rtl::Utf16ToUtf8(Server);
  const std::string user = rtl::Utf16ToUtf8(Username);
  const std::string password = rtl::Utf16ToUtf8(Password);
  const std::string database = rtl::Utf16ToUtf8(Database);
  // Connector/C reads port 0 as "the default"; a configured 0 or a port
  // beyond 65535 is refused instead of silently reaching 3306.
  if (Port <= 0 || Port > 65535) {
    mysql_close(handle);
    throw rtl::EDatabaseError(u"Invalid port " + rtl::IntToStr(Port));
  }
  const unsigned port = static_cast<unsigned>(Port);
  if (!mysql_real_connect(handle, host.c_str(), user.c_str(), password.c_str(),
                          database.empty() ? nullptr : database.c_str(), port, nullptr,
                          CLIENT_MULTI_RESULTS)) {
    try {
      RaiseMySqlError(handle);
    } catch (...) {
      mysql_close(handle);
      throw;
    }
  }
  impl_->handle = handle;
  if (AfterConnect) AfterConnect();
}

bool TUniConnection::Connected() const { return impl_->handle != nullptr; }

void TUniConnection::Disconnect() {
  if (!impl_->handle) return;
  mysql_close(impl_->handle);
  impl_->handle = nullptr;
}

void TUniConnection::ExecSQL(const std::u16string& statement) {
  MYSQL* handle = impl_->handle;
  if (!handle) throw rtl::EDatabaseError(u"Connection is not active");
  const std::string text = rtl::Utf16ToUtf8(statement);
  if (mysql_real_query(handle, text.data(), text.size()) != 0) RaiseMySqlError(handle);
  for (;;) {
    if (MYSQL_RES* result = mysql_store_result(handle)) mysql_free_result(result);
    const int next = mysql_next_result(handle);
    if (next > 0) RaiseMySqlError(handle);
    if (next < 0) return;
  }
}

}  // namespace db
