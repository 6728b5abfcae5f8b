#include "platform/rtl/Exception.h"

#include <cstring>

#include "platform/rtl/Text.h"

namespace rtl {

Exception::Exception(std::u16string message)
    : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}

EOSError OSError(int code) {
  if (code == 0) return EOSError(0, u"A call to an OS function failed");
  char buffer[256];
  // GNU strerror_r returns the text, which may or may not live in buffer.
  const char* text = strerror_r(code, buffer, sizeof buffer);
  return EOSError(code, u"System Error.  Code: " + IntToStr(code) + u".\r\n" + Utf8ToUtf16(text));
}

}  // namespace rtl
