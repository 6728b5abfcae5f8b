// Variant: the platform's tagged value. Its kind is a 16-bit code: the codes
// below 0x0100 follow OLE Automation, 0x0100 is an 8-bit string in the ANSI
// code page, 0x0101 an opaque value and 0x0102 a UTF-16 string; the flag
// varArray marks an array of values and varByRef a value held by reference.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exception.h"

namespace rtl {

class CodePage;
struct TFormatSettings;

using TVarType = std::uint16_t;

inline constexpr TVarType varEmpty = 0x0000;
inline constexpr TVarType varNull = 0x0001;
inline constexpr TVarType varSmallint = 0x0002;
inline constexpr TVarType varInteger = 0x0003;
inline constexpr TVarType varSingle = 0x0004;
inline constexpr TVarType varDouble = 0x0005;
inline constexpr TVarType varCurrency = 0x0006;
inline constexpr TVarType varDate = 0x0007;
inline constexpr TVarType varOleStr = 0x0008;
inline constexpr TVarType varDispatch = 0x0009;
inline constexpr TVarType varError = 0x000A;
inline constexpr TVarType varBoolean = 0x000B;
inline constexpr TVarType varVariant = 0x000C;
inline constexpr TVarType varUnknown = 0x000D;
inline constexpr TVarType varDecimal = 0x000E;
inline constexpr TVarType varShortInt = 0x0010;
inline constexpr TVarType varByte = 0x0011;
inline constexpr TVarType varWord = 0x0012;
inline constexpr TVarType varLongWord = 0x0013;
inline constexpr TVarType varInt64 = 0x0014;
inline constexpr TVarType varUInt64 = 0x0015;
inline constexpr TVarType varString = 0x0100;
inline constexpr TVarType varAny = 0x0101;
inline constexpr TVarType varUString = 0x0102;
inline constexpr TVarType varTypeMask = 0x0FFF;
inline constexpr TVarType varArray = 0x2000;
inline constexpr TVarType varByRef = 0x4000;

// A 96-bit decimal: (-1 if Negative) x (Hi32:Lo64) / 10^Scale, Scale 0 to 28.
struct TDecimal {
  bool Negative = false;
  std::uint8_t Scale = 0;
  std::uint32_t Hi32 = 0;
  std::uint64_t Lo64 = 0;
};

class Variant {
 public:
  // The empty value (varEmpty).
  Variant() = default;
  static Variant Null();
  Variant(bool value);             // varBoolean
  Variant(std::int32_t value);     // varInteger
  Variant(std::int64_t value);     // varInt64
  Variant(double value);           // varDouble
  Variant(Currency value);         // varCurrency
  Variant(std::u16string value);   // varUString
  Variant(const char16_t* value);  // varUString
  Variant(const char*) = delete;   // would silently become a boolean
  static Variant FromDateTime(TDateTime value);
  static Variant FromSmallint(std::int16_t value);
  static Variant FromShortInt(std::int8_t value);
  static Variant FromByte(std::uint8_t value);
  static Variant FromWord(std::uint16_t value);
  static Variant FromLongWord(std::uint32_t value);
  static Variant FromUInt64(std::uint64_t value);
  static Variant FromSingle(float value);
  static Variant FromOleStr(std::u16string value);
  // varString: bytes in the ANSI code page.
  static Variant FromAnsiString(std::string bytes);
  // Fails with EVariantTypeCastError when Scale is above 28.
  static Variant FromDecimal(TDecimal value);
  static Variant FromError(std::int32_t code);
  // varDispatch, varUnknown or varAny holding an object the platform cannot
  // look into; such values convert to nothing.
  static Variant FromObject(TVarType kind, std::shared_ptr<const void> object);
  // A one-dimensional array (varArray | elementType). Every element must be of
  // elementType, or of any kind when elementType is varVariant; fails with
  // EVariantTypeCastError otherwise.
  static Variant Array(TVarType elementType, std::vector<Variant> elements);
  static Variant ByteArray(std::string_view bytes);
  // A value held by reference (varByRef | the target's kind). The target is
  // shared, not copied, by copies of the result. A reference to a reference
  // refers to the final target.
  static Variant ByRef(Variant target);
  // varByRef | varVariant: a reference to a whole variant.
  static Variant ByRefVariant(Variant target);

  TVarType VarType() const { return type_; }
  bool IsNull() const { return type_ == varNull; }
  bool IsEmpty() const { return type_ == varEmpty; }
  bool IsArray() const { return (type_ & varArray) != 0; }
  bool IsByRef() const { return (type_ & varByRef) != 0; }
  // The value a reference leads to; the value itself when it is no reference.
  const Variant& Target() const;
  // The elements of an array value (also through a reference); empty otherwise.
  const std::vector<Variant>& ArrayElements() const;

 private:
  struct ArrayData;
  friend struct VariantAccess;

  Variant(TVarType type, auto&& value)
      : type_(type), value_(std::forward<decltype(value)>(value)) {}

  TVarType type_ = varEmpty;
  // Integers and booleans in int64/uint64, floats and dates in double,
  // texts in u16string, varString bytes in string.
  std::variant<std::monostate, std::int64_t, std::uint64_t, double, Currency, TDecimal,
               std::u16string, std::string, std::shared_ptr<const ArrayData>,
               std::shared_ptr<const Variant>, std::shared_ptr<const void>>
      value_;
};

// The platform's name of a kind: "Integer", "UnicodeString", "Array Byte", ...
std::u16string VarTypeAsText(TVarType type);
// "Could not convert variant of type (%s) into type (%s)".
EVariantTypeCastError VarCastError(TVarType source, TVarType target);

// Numeric conversions. Integers keep their value; booleans are -1 and 0; floats,
// currency and decimals round to nearest, halves to even; texts that read as
// numbers (with the settings' decimal separator) convert the same way, and
// "True"/"False" in any case give -1 and 0. Null, Empty, other texts and kinds
// fail with EVariantTypeCastError; values out of range with EVariantOverflowError.
std::int32_t VarToInt32(const Variant& value);
std::int32_t VarToInt32(const Variant& value, const TFormatSettings& settings);
std::int64_t VarToInt64(const Variant& value);
std::int64_t VarToInt64(const Variant& value, const TFormatSettings& settings);
double VarToDouble(const Variant& value);
double VarToDouble(const Variant& value, const TFormatSettings& settings);
Currency VarToCurrency(const Variant& value);
Currency VarToCurrency(const Variant& value, const TFormatSettings& settings);
// Dates and numbers; texts are not read as dates and fail.
TDateTime VarToDateTime(const Variant& value);

// The platform's value-to-text conversion: integers as plain digits, floats
// and currency in the general number format, dates as DateTimeToStr,
// booleans "True"/"False", Empty as "". Null, errors, objects and arrays fail
// with EVariantTypeCastError.
std::u16string VarToUnicodeString(const Variant& value);
std::u16string VarToUnicodeString(const Variant& value, const TFormatSettings& settings,
                                  const CodePage& ansi);
// The same text as an 8-bit string in the code page; varString keeps its bytes.
std::string VarToAnsiString(const Variant& value, const TFormatSettings& settings,
                            const CodePage& ansi);
// An array as bytes: byte arrays as they are, other elements converted to
// integers from 0 to 255. Anything else fails with EVariantTypeCastError.
std::string VarToBytes(const Variant& value);

}  // namespace rtl
