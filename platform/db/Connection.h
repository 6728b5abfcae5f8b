// A connection to a MySQL or MariaDB server over TCP (MariaDB Connector/C).
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace db {

class TUniConnection {
 public:
  TUniConnection();
  ~TUniConnection();
  TUniConnection(const TUniConnection&) = delete;
  TUniConnection& operator=(const TUniConnection&) = delete;

  // Where and as whom to connect; read by Connect. An empty Server means
  // "localhost", always reached over TCP, never a local socket.
  std::u16string Server = u"localhost";
  int Port = 3306;
  std::u16string Database;
  std::u16string Username;
  std::u16string Password;
  // Bounds the handshake and every later read or write on the connection, so
  // a server that accepts TCP and never answers cannot hang the caller.
  unsigned TimeoutSeconds = 15;

  // Runs after every successful Connect.
  std::function<void()> AfterConnect;

  // Opens the connection (closing an open one first). Fails with
  // EDatabaseError carrying the client's message; the password never
  // appears in it.
  void Connect();
  bool Connected() const;
  // Closes the connection; does nothing when not connected.
  void Disconnect();

  // Runs one statement and discards any rows it returns. Fails with
  // EDatabaseError, also when not connected.
  void ExecSQL(const std::u16string& statement);

 private:
  friend class TUniQuery;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace db
