#include "platform/rtl/Variant.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/NumberFormat.h"
#include "platform/rtl/Text.h"

namespace rtl {

struct Variant::ArrayData {
  std::vector<Variant> elements;
};

// Typed views of a value for the conversions below.
struct VariantAccess {
  static const std::int64_t* Signed(const Variant& v) {
    return std::get_if<std::int64_t>(&v.value_);
  }
  static const std::uint64_t* Unsigned(const Variant& v) {
    return std::get_if<std::uint64_t>(&v.value_);
  }
  static const double* Float(const Variant& v) { return std::get_if<double>(&v.value_); }
  static const Currency* Money(const Variant& v) { return std::get_if<Currency>(&v.value_); }
  static const TDecimal* Decimal(const Variant& v) { return std::get_if<TDecimal>(&v.value_); }
  static const std::u16string* Text(const Variant& v) {
    return std::get_if<std::u16string>(&v.value_);
  }
  static const std::string* Bytes(const Variant& v) { return std::get_if<std::string>(&v.value_); }
  static const std::shared_ptr<const Variant::ArrayData>* Elements(const Variant& v) {
    return std::get_if<std::shared_ptr<const Variant::ArrayData>>(&v.value_);
  }
  static const std::shared_ptr<const Variant>* Reference(const Variant& v) {
    return std::get_if<std::shared_ptr<const Variant>>(&v.value_);
  }
};

namespace {

using Int128 = __int128;

constexpr Int128 Pow10(int exponent) {
  Int128 result = 1;
  while (exponent-- > 0) result *= 10;
  return result;
}

// Divides rounding to nearest, halves to even.
Int128 DivideRoundEven(Int128 numerator, Int128 divisor) {
  Int128 quotient = numerator / divisor;
  const Int128 remainder = numerator % divisor;
  const Int128 twice = (remainder < 0 ? -remainder : remainder) * 2;
  if (twice > divisor || (twice == divisor && quotient % 2 != 0))
    quotient += numerator < 0 ? -1 : 1;
  return quotient;
}

Int128 DecimalMantissa(const TDecimal& d) {
  const Int128 magnitude = (static_cast<Int128>(d.Hi32) << 64) | d.Lo64;
  return d.Negative ? -magnitude : magnitude;
}

std::u16string DecimalToStr(const TDecimal& d, char16_t decimal_separator) {
  unsigned __int128 magnitude = (static_cast<unsigned __int128>(d.Hi32) << 64) | d.Lo64;
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  // Drop trailing fraction zeros, then pad so at least one integer digit remains.
  size_t scale = d.Scale;
  while (scale > 0 && digits.back() == u'0') {
    digits.pop_back();
    --scale;
  }
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), u'0');
  if (scale > 0) digits.insert(digits.size() - scale, 1, decimal_separator);
  if (d.Negative && digits != u"0") digits.insert(0, 1, u'-');
  return digits;
}

std::u16string TextOf(const Variant& v, const CodePage& ansi) {
  if (const std::string* bytes = VariantAccess::Bytes(v)) return ansi.Decode(*bytes);
  return *VariantAccess::Text(v);
}

// "True"/"False" in any case as -1/0.
std::optional<std::int64_t> BooleanWord(std::u16string_view text) {
  const std::u16string lower = AsciiLowerCase(text);
  if (lower == u"true") return -1;
  if (lower == u"false") return 0;
  return std::nullopt;
}

// A number read from text: an exact integer when the text is one, else a float.
struct TextNumber {
  std::optional<std::int64_t> integer;
  double real = 0;
};

std::optional<TextNumber> ReadNumber(std::u16string_view text, char16_t decimal_separator) {
  if (const auto value = TryStrToInt(text)) return TextNumber{*value, 0};
  // Decimal integers beyond 32 bits stay exact.
  const std::u16string trimmed = Trim(text);
  std::string ascii(trimmed.begin(), trimmed.end());
  if (!ascii.empty() && ascii[0] == '+') ascii.erase(0, 1);
  std::int64_t integer = 0;
  if (std::all_of(trimmed.begin(), trimmed.end(), [](char16_t c) { return c < 0x80; })) {
    const auto [ptr, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), integer);
    if (error == std::errc() && ptr == ascii.data() + ascii.size()) return TextNumber{integer, 0};
  }
  if (const auto real = TryTextToFloat(text, decimal_separator)) return TextNumber{{}, *real};
  if (const auto word = BooleanWord(text)) return TextNumber{*word, 0};
  return std::nullopt;
}

EVariantOverflowError OverflowError(TVarType source, TVarType target) {
  return EVariantOverflowError(u"Overflow while converting variant of type (" +
                               VarTypeAsText(source) + u") into type (" + VarTypeAsText(target) +
                               u")");
}

std::int64_t RoundToInt64(double value, TVarType source, TVarType target) {
  if (std::isnan(value)) throw VarCastError(source, target);
  const double rounded = ::roundeven(value);
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
    throw OverflowError(source, target);
  return static_cast<std::int64_t>(rounded);
}

std::int64_t ToInt64(const Variant& value, TVarType target, const TFormatSettings& settings) {
  const Variant& v = value.Target();
  const TVarType type = v.VarType();
  if (type & varArray) throw VarCastError(type, target);
  switch (type) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varBoolean:
      return *VariantAccess::Signed(v);
    case varUInt64: {
      const std::uint64_t u = *VariantAccess::Unsigned(v);
      if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        throw OverflowError(type, target);
      return static_cast<std::int64_t>(u);
    }
    case varSingle:
    case varDouble:
    case varDate:
      return RoundToInt64(*VariantAccess::Float(v), type, target);
    case varCurrency:
      return static_cast<std::int64_t>(DivideRoundEven(VariantAccess::Money(v)->Count(), 10000));
    case varDecimal: {
      const TDecimal& d = *VariantAccess::Decimal(v);
      const Int128 rounded = DivideRoundEven(DecimalMantissa(d), Pow10(d.Scale));
      if (rounded > std::numeric_limits<std::int64_t>::max() ||
          rounded < std::numeric_limits<std::int64_t>::min())
        throw OverflowError(type, target);
      return static_cast<std::int64_t>(rounded);
    }
    case varOleStr:
    case varUString:
    case varString: {
      const auto number = ReadNumber(TextOf(v, CodePage::Ansi()), settings.DecimalSeparator);
      if (!number) throw VarCastError(type, target);
      return number->integer ? *number->integer : RoundToInt64(number->real, type, target);
    }
    default:
      throw VarCastError(type, target);
  }
}

double ToDouble(const Variant& value, TVarType target, const TFormatSettings& settings) {
  const Variant& v = value.Target();
  const TVarType type = v.VarType();
  switch (type) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varBoolean:
      return static_cast<double>(*VariantAccess::Signed(v));
    case varUInt64:
      return static_cast<double>(*VariantAccess::Unsigned(v));
    case varSingle:
    case varDouble:
    case varDate:
      return *VariantAccess::Float(v);
    case varCurrency:
      return VariantAccess::Money(v)->ToDouble();
    case varDecimal: {
      const TDecimal& d = *VariantAccess::Decimal(v);
      return static_cast<double>(static_cast<long double>(DecimalMantissa(d)) /
                                 static_cast<long double>(Pow10(d.Scale)));
    }
    case varOleStr:
    case varUString:
    case varString: {
      if (target == varDate) break;
      const auto number = ReadNumber(TextOf(v, CodePage::Ansi()), settings.DecimalSeparator);
      if (!number) break;
      return number->integer ? static_cast<double>(*number->integer) : number->real;
    }
    default:
      break;
  }
  throw VarCastError(type, target);
}

std::u16string ToText(const Variant& value, TVarType target, const TFormatSettings& settings,
                      const CodePage& ansi) {
  const Variant& v = value.Target();
  const TVarType type = v.VarType();
  switch (type) {
    case varEmpty:
      return {};
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
      return IntToStr(*VariantAccess::Signed(v));
    case varUInt64: {
      char digits[24];
      const auto end =
          std::to_chars(digits, digits + sizeof digits, *VariantAccess::Unsigned(v)).ptr;
      return std::u16string(digits, end);
    }
    case varSingle:
    case varDouble:
      return FloatToStr(*VariantAccess::Float(v), settings.DecimalSeparator);
    case varCurrency:
      return CurrToStr(*VariantAccess::Money(v), settings.DecimalSeparator);
    case varDecimal:
      return DecimalToStr(*VariantAccess::Decimal(v), settings.DecimalSeparator);
    case varDate:
      return DateTimeToStr(*VariantAccess::Float(v), settings);
    case varBoolean:
      return *VariantAccess::Signed(v) ? u"True" : u"False";
    case varOleStr:
    case varUString:
    case varString:
      return TextOf(v, ansi);
    default:
      throw VarCastError(type, target);
  }
}

}  // namespace

Variant Variant::Null() { return Variant(varNull, std::monostate()); }
Variant::Variant(bool value) : type_(varBoolean), value_(std::int64_t{value ? -1 : 0}) {}
Variant::Variant(std::int32_t value) : type_(varInteger), value_(std::int64_t{value}) {}
Variant::Variant(std::int64_t value) : type_(varInt64), value_(value) {}
Variant::Variant(double value) : type_(varDouble), value_(value) {}
Variant::Variant(Currency value) : type_(varCurrency), value_(value) {}
Variant::Variant(std::u16string value) : type_(varUString), value_(std::move(value)) {}
Variant::Variant(const char16_t* value) : Variant(std::u16string(value)) {}

Variant Variant::FromDateTime(TDateTime value) { return Variant(varDate, double{value}); }
Variant Variant::FromSmallint(std::int16_t value) {
  return Variant(varSmallint, std::int64_t{value});
}
Variant Variant::FromShortInt(std::int8_t value) {
  return Variant(varShortInt, std::int64_t{value});
}
Variant Variant::FromByte(std::uint8_t value) { return Variant(varByte, std::int64_t{value}); }
Variant Variant::FromWord(std::uint16_t value) { return Variant(varWord, std::int64_t{value}); }
Variant Variant::FromLongWord(std::uint32_t value) {
  return Variant(varLongWord, std::int64_t{value});
}
Variant Variant::FromUInt64(std::uint64_t value) { return Variant(varUInt64, value); }
Variant Variant::FromSingle(float value) { return Variant(varSingle, double{value}); }
Variant Variant::FromOleStr(std::u16string value) { return Variant(varOleStr, std::move(value)); }
Variant Variant::FromAnsiString(std::string bytes) { return Variant(varString, std::move(bytes)); }
Variant Variant::FromError(std::int32_t code) { return Variant(varError, std::int64_t{code}); }

Variant Variant::FromDecimal(TDecimal value) {
  if (value.Scale > 28) throw EVariantTypeCastError(u"Invalid decimal scale");
  return Variant(varDecimal, value);
}

Variant Variant::FromObject(TVarType kind, std::shared_ptr<const void> object) {
  if (kind != varDispatch && kind != varUnknown && kind != varAny)
    throw EVariantTypeCastError(u"Invalid variant object kind");
  return Variant(kind, std::move(object));
}

Variant Variant::Array(TVarType elementType, std::vector<Variant> elements) {
  if (elementType == varEmpty || elementType == varNull || (elementType & ~varTypeMask) != 0)
    throw EVariantTypeCastError(u"Invalid variant array element type");
  for (const Variant& element : elements) {
    if (elementType != varVariant && element.VarType() != elementType)
      throw VarCastError(element.VarType(), elementType);
  }
  return Variant(varArray | elementType,
                 std::make_shared<const ArrayData>(ArrayData{std::move(elements)}));
}

Variant Variant::ByteArray(std::string_view bytes) {
  std::vector<Variant> elements;
  elements.reserve(bytes.size());
  for (const char byte : bytes) elements.push_back(FromByte(static_cast<std::uint8_t>(byte)));
  return Array(varByte, std::move(elements));
}

Variant Variant::ByRef(Variant target) {
  if (target.IsByRef()) return target;
  const TVarType type = varByRef | target.type_;
  return Variant(type, std::make_shared<const Variant>(std::move(target)));
}

Variant Variant::ByRefVariant(Variant target) {
  return Variant(varByRef | varVariant, std::make_shared<const Variant>(std::move(target)));
}

const Variant& Variant::Target() const {
  const auto* reference = VariantAccess::Reference(*this);
  return reference ? (*reference)->Target() : *this;
}

const std::vector<Variant>& Variant::ArrayElements() const {
  static const std::vector<Variant> kNone;
  const auto* data = VariantAccess::Elements(Target());
  return data ? (*data)->elements : kNone;
}

std::u16string VarTypeAsText(TVarType type) {
  if (type & varArray) return u"Array " + VarTypeAsText(type & ~varArray);
  switch (type & varTypeMask) {
    case varEmpty:
      return u"Empty";
    case varNull:
      return u"Null";
    case varSmallint:
      return u"Smallint";
    case varInteger:
      return u"Integer";
    case varSingle:
      return u"Single";
    case varDouble:
      return u"Double";
    case varCurrency:
      return u"Currency";
    case varDate:
      return u"Date";
    case varOleStr:
      return u"OleStr";
    case varDispatch:
      return u"Dispatch";
    case varError:
      return u"Error";
    case varBoolean:
      return u"Boolean";
    case varVariant:
      return u"Variant";
    case varUnknown:
      return u"Unknown";
    case varDecimal:
      return u"Decimal";
    case varShortInt:
      return u"ShortInt";
    case varByte:
      return u"Byte";
    case varWord:
      return u"Word";
    case varLongWord:
      return u"Cardinal";
    case varInt64:
      return u"Int64";
    case varUInt64:
      return u"UInt64";
    case varString:
      return u"String";
    case varAny:
      return u"Any";
    case varUString:
      return u"UnicodeString";
  }
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string text = u"$0000";
  for (int i = 0; i < 4; ++i) text[4 - i] = kHex[(type >> (4 * i)) & 0xF];
  return text;
}

EVariantTypeCastError VarCastError(TVarType source, TVarType target) {
  return EVariantTypeCastError(u"Could not convert variant of type (" + VarTypeAsText(source) +
                               u") into type (" + VarTypeAsText(target) + u")");
}

std::int32_t VarToInt32(const Variant& value) { return VarToInt32(value, FormatSettings()); }

std::int32_t VarToInt32(const Variant& value, const TFormatSettings& settings) {
  const std::int64_t result = ToInt64(value, varInteger, settings);
  if (result < std::numeric_limits<std::int32_t>::min() ||
      result > std::numeric_limits<std::int32_t>::max())
    throw OverflowError(value.Target().VarType(), varInteger);
  return static_cast<std::int32_t>(result);
}

std::int64_t VarToInt64(const Variant& value) { return VarToInt64(value, FormatSettings()); }

std::int64_t VarToInt64(const Variant& value, const TFormatSettings& settings) {
  return ToInt64(value, varInt64, settings);
}

double VarToDouble(const Variant& value) { return VarToDouble(value, FormatSettings()); }

double VarToDouble(const Variant& value, const TFormatSettings& settings) {
  return ToDouble(value, varDouble, settings);
}

Currency VarToCurrency(const Variant& value) { return VarToCurrency(value, FormatSettings()); }

Currency VarToCurrency(const Variant& value, const TFormatSettings& settings) {
  const Variant& v = value.Target();
  const TVarType type = v.VarType();
  switch (type) {
    case varCurrency:
      return *VariantAccess::Money(v);
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varBoolean:
    case varUInt64:
    case varDecimal: {
      // Integers and decimals scale exactly; only the range can fail.
      Int128 scaled;
      if (const auto* s = VariantAccess::Signed(v))
        scaled = static_cast<Int128>(*s) * 10000;
      else if (const auto* u = VariantAccess::Unsigned(v))
        scaled = static_cast<Int128>(*u) * 10000;
      else {
        const TDecimal& d = *VariantAccess::Decimal(v);
        scaled = d.Scale <= 4 ? DecimalMantissa(d) * Pow10(4 - d.Scale)
                              : DivideRoundEven(DecimalMantissa(d), Pow10(d.Scale - 4));
      }
      if (scaled > std::numeric_limits<std::int64_t>::max() ||
          scaled < std::numeric_limits<std::int64_t>::min())
        throw OverflowError(type, varCurrency);
      return Currency::FromCount(static_cast<std::int64_t>(scaled));
    }
    default: {
      const double real = ToDouble(v, varCurrency, settings);
      try {
        return Currency::FromDouble(real);
      } catch (const EConvertError&) {
        if (std::isnan(real)) throw VarCastError(type, varCurrency);
        throw OverflowError(type, varCurrency);
      }
    }
  }
}

TDateTime VarToDateTime(const Variant& value) { return ToDouble(value, varDate, FormatSettings()); }

std::u16string VarToUnicodeString(const Variant& value) {
  return VarToUnicodeString(value, FormatSettings(), CodePage::Ansi());
}

std::u16string VarToUnicodeString(const Variant& value, const TFormatSettings& settings,
                                  const CodePage& ansi) {
  return ToText(value, varUString, settings, ansi);
}

std::string VarToAnsiString(const Variant& value, const TFormatSettings& settings,
                            const CodePage& ansi) {
  if (const std::string* bytes = VariantAccess::Bytes(value.Target())) return *bytes;
  return ansi.Encode(ToText(value, varString, settings, ansi));
}

std::string VarToBytes(const Variant& value) {
  const Variant& v = value.Target();
  if (!v.IsArray()) throw VarCastError(v.VarType(), varArray | varByte);
  const std::vector<Variant>& elements = v.ArrayElements();
  std::string bytes;
  bytes.reserve(elements.size());
  for (const Variant& element : elements) {
    const Variant& e = element.Target();
    if (e.VarType() == varByte) {
      bytes += static_cast<char>(*VariantAccess::Signed(e));
      continue;
    }
    const std::int64_t number = ToInt64(e, varByte, FormatSettings());
    if (number < 0 || number > 255) throw OverflowError(e.VarType(), varByte);
    bytes += static_cast<char>(number);
  }
  return bytes;
}

}  // namespace rtl
