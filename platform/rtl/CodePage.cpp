#include "platform/rtl/CodePage.h"

#include <langinfo.h>
#include <unicode/ucnv.h>

#include <mutex>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace rtl {

struct CodePage::Converter {
  UConverter* handle = nullptr;
  std::mutex mutex;  // a UConverter keeps state between calls
};

std::string AnsiCodePageNameForCodeset(std::string_view codeset) {
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII" ||
      codeset == "US-ASCII")
    return "windows-1252";
  return std::string(codeset);
}

const CodePage& CodePage::Ansi() {
  static const CodePage ansi(AnsiCodePageNameForCodeset(nl_langinfo(CODESET)));
  return ansi;
}

CodePage::CodePage(const std::string& name) : converter_(std::make_unique<Converter>()) {
  UErrorCode status = U_ZERO_ERROR;
  converter_->handle = ucnv_open(name.c_str(), &status);
  if (U_FAILURE(status)) {
    // An unknown codeset falls back to the stores' code page rather than failing.
    status = U_ZERO_ERROR;
    converter_->handle = ucnv_open("windows-1252", &status);
  }
  if (U_FAILURE(status))
    throw Exception(u"Code page converter unavailable: " + Utf8ToUtf16(u_errorName(status)));
  utf8_ = ucnv_getType(converter_->handle) == UCNV_UTF8;
  status = U_ZERO_ERROR;
  if (!utf8_) ucnv_setSubstChars(converter_->handle, "?", 1, &status);
}

CodePage::~CodePage() { ucnv_close(converter_->handle); }

std::string CodePage::Encode(std::u16string_view text) const {
  std::lock_guard lock(converter_->mutex);
  std::string out(UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter_->handle)),
                  '\0');
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetFromUnicode(converter_->handle);
  const int32_t length = ucnv_fromUChars(converter_->handle, out.data(), static_cast<int32_t>(out.size()),
                                         reinterpret_cast<const UChar*>(text.data()),
                                         static_cast<int32_t>(text.size()), &status);
  out.resize(U_SUCCESS(status) ? length : 0);
  return out;
}

std::u16string CodePage::Decode(std::string_view bytes) const {
  std::lock_guard lock(converter_->mutex);
  std::u16string out(bytes.size() * 2 + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetToUnicode(converter_->handle);
  const int32_t length = ucnv_toUChars(converter_->handle, reinterpret_cast<UChar*>(out.data()),
                                       static_cast<int32_t>(out.size()), bytes.data(),
                                       static_cast<int32_t>(bytes.size()), &status);
  out.resize(U_SUCCESS(status) ? length : 0);
  return out;
}

}  // namespace rtl
