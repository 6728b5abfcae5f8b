#include "platform/rtl/LocaleCase.h"

#include <unicode/ustring.h>
#include <unicode/utypes.h>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace rtl {

std::u16string AnsiLowerCase(std::u16string_view text) {
  std::u16string out(text.size(), u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const auto lower = [&] {
    status = U_ZERO_ERROR;
    // A null locale is ICU's default locale; "" would be the root locale.
    return u_strToLower(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                        reinterpret_cast<const UChar*>(text.data()),
                        static_cast<int32_t>(text.size()), nullptr, &status);
  };
  int32_t length = lower();
  if (status == U_BUFFER_OVERFLOW_ERROR) {  // some mappings lengthen the text
    out.resize(length);
    length = lower();
  }
  if (U_FAILURE(status))
    throw EOSError(status, u"Case mapping failed: " + Utf8ToUtf16(u_errorName(status)));
  out.resize(length);
  return out;
}

bool AnsiSameText(std::u16string_view a, std::u16string_view b) {
  return a == b || AnsiLowerCase(a) == AnsiLowerCase(b);
}

}  // namespace rtl
