#include <gtest/gtest.h>

#include "connection/UConfiguraConexaoBase.h"
#include "platform/rtl/Text.h"

namespace {

TEST(ServidorIPePorta, SplitsHostAndPort) {
  static const struct {
    const char16_t* param;
    const char16_t* host;
    int32_t port;
  } cases[] = {
      {u"10.0.0.5:3307", u"10.0.0.5", 3307},
      {u"servidor", u"servidor", 3306},
      {u"", u"", 3306},
      {u"servidor:", u"servidor", 3306},
      {u"servidor:abc", u"servidorabc", 3306},
      {u"servidor:33a", u"servidora", 33},
      {u"servidor:1:2", u"servidor:1:2", 12},
      {u"servidor:99999999999", u"servidor", 3306},
      {u"servidor:2147483647", u"servidor", 2147483647},
      {u"servidor:2147483648", u"servidor", 3306},
      {u"a:5:5", u"a:5:5", 55},           // ":55" does not occur
      {u"a:12b:12", u"ab", 12},           // every ":12" goes
      {u"::7", u":", 7},
      {u"h:0", u"h", 0},
      {u"h:007", u"h", 7},
  };
  for (const auto& c : cases) {
    std::u16string host = u"stale";
    int32_t port = -1;
    TConfiguraConexaoBase::ServidorIPePorta(c.param, host, port);
    EXPECT_EQ(host, c.host) << rtl::Utf16ToUtf8(c.param);
    EXPECT_EQ(port, c.port) << rtl::Utf16ToUtf8(c.param);
  }
}

}  // namespace
