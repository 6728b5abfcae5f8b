// ConverterDataMySql on any default text, for each type it knows. Only the
// two documented failures may come out, each for its own type.
#include <cmath>

#include "Lib/UtilDBPrivate.h"
#include "platform/rtl/Exception.h"
#include "tests/fuzz/FuzzText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char16_t* const kTypes[] = {u"timestamp", u"datetime", u"date",
                                           u"time",      u"TIME",     u"year"};
  const std::u16string type = kTypes[data[0] % std::size(kTypes)];
  const std::u16string text = fuzz::Text(data + 1, size - 1);
  rtl::TDateTime value = 0;
  try {
    if (utildb::ConverterDataMySql(text, type, u"c", value)) {
      fuzz::Check(std::isfinite(value));
      if (type != u"time" && type != u"TIME") rtl::DecodeDateTime(value);
    }
  } catch (const rtl::EAssertionFailed&) {
    fuzz::Check(type == u"timestamp");
  } catch (const rtl::EDatabaseError& e) {
    fuzz::Check((type == u"time" || type == u"TIME") &&
                e.Message() == u"Wrong time format at field c");
  }
  return 0;
}
