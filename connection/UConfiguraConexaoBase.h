// Splits the configured server text into host and TCP port.
#pragma once

#include <cstdint>
#include <string>

class TConfiguraConexaoBase {
 public:
  // "host:port" -> host and port. The port is the run of digits after the
  // colons (up to the first other character); 3306 when there is none or it
  // does not fit in 32 bits. The host is Param without ":" + port.
  static void ServidorIPePorta(const std::u16string& Param, std::u16string& ServidorIp,
                               std::int32_t& Porta);
};
