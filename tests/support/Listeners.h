// Network peers for failure tests.
#pragma once

namespace testsupport {

// A TCP listener on 127.0.0.1 that completes handshakes and never says a
// word, as a hung database server does.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  int Port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

}  // namespace testsupport
