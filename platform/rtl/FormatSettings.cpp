#include "platform/rtl/FormatSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <memory>
#include <type_traits>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Text.h"

namespace rtl {

TFormatSettings TFormatSettings::FromLocale(const std::string& name) {
  TFormatSettings settings;
  const std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)> locale(
      newlocale(LC_ALL_MASK, name.c_str(), static_cast<locale_t>(nullptr)), &freelocale);
  if (!locale) return settings;
  // The radix is in the locale's own codeset and may take several bytes.
  const CodePage codeset(AnsiCodePageNameForCodeset(nl_langinfo_l(CODESET, locale.get())));
  const std::u16string radix = codeset.Decode(nl_langinfo_l(RADIXCHAR, locale.get()));
  if (radix.size() == 1) settings.DecimalSeparator = radix[0];
  const std::string date = Utf16ToUtf8(codeset.Decode(nl_langinfo_l(D_FMT, locale.get())));
  const std::string time = Utf16ToUtf8(codeset.Decode(nl_langinfo_l(T_FMT, locale.get())));
  if (!date.empty()) settings.DateFormat = date;
  if (!time.empty()) settings.TimeFormat = time;
  return settings;
}

const TFormatSettings& FormatSettings() {
  static const TFormatSettings settings = TFormatSettings::FromLocale("");
  return settings;
}

}  // namespace rtl
