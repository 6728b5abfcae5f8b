// The process-wide number and date format settings, taken from the user's
// locale (LC_ALL, LC_NUMERIC, LC_TIME, LANG) when first asked for.
#pragma once

#include <string>

namespace rtl {

struct TFormatSettings {
  char16_t DecimalSeparator = u'.';
  // strftime patterns of the locale's date and time (D_FMT, T_FMT).
  std::string DateFormat = "%m/%d/%y";
  std::string TimeFormat = "%H:%M:%S";

  // The settings of a locale by name ("" is the user's environment); the
  // defaults above when the locale is not installed.
  static TFormatSettings FromLocale(const std::string& name);
};

// The process's settings, read once from the user's locale.
const TFormatSettings& FormatSettings();

}  // namespace rtl
