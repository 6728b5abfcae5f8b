// Private to the db target: the Connector/C handle behind TUniConnection and
// the one place where client errors become exceptions.
#pragma once

#include <mysql.h>

#include "platform/db/Connection.h"

namespace db {

struct TUniConnection::Impl {
  MYSQL* handle = nullptr;
};

// The client's last error on handle as an EDatabaseError.
[[noreturn]] void RaiseMySqlError(MYSQL* handle);

}  // namespace db
