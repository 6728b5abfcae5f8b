#include "connection/UConfiguraConexaoBase.h"

#include "platform/rtl/Text.h"

namespace {

std::u16string ReplaceAll(std::u16string text, const std::u16string& from) {
  for (size_t at = text.find(from); at != std::u16string::npos; at = text.find(from, at))
    text.erase(at, from.size());
  return text;
}

}  // namespace

void TConfiguraConexaoBase::ServidorIPePorta(const std::u16string& Param,
                                             std::u16string& ServidorIp, std::int32_t& Porta) {
  std::u16string port;
  bool colonSeen = false;
  for (const char16_t c : Param) {
    if (c == u':') {
      colonSeen = true;
    } else if (colonSeen) {
      if (c < u'0' || c > u'9') break;
      port += c;
    }
  }
  ServidorIp = ReplaceAll(Param, u":" + port);
  Porta = port.empty() ? 3306 : rtl::StrToIntDef(port, 3306);
}
