#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "base/date_time.h"
#include "base/error.h"
#include "base/format_settings.h"

namespace velkora {

// Automation type codes, as the platform numbers them.
enum VarType : uint16_t {
  kVtEmpty = 0,
  kVtNull = 1,
  kVtI2 = 2,
  kVtI4 = 3,
  kVtR4 = 4,
  kVtR8 = 5,
  kVtCy = 6,
  kVtDate = 7,
  kVtBstr = 8,
  kVtDispatch = 9,
  kVtError = 10,
  kVtBool = 11,
  kVtVariant = 12,
  kVtUnknown = 13,
  kVtDecimal = 14,
  kVtI1 = 16,
  kVtUi1 = 17,
  kVtUi2 = 18,
  kVtUi4 = 19,
  kVtI8 = 20,
  kVtUi8 = 21,
  kVtInt = 22,
  kVtUint = 23,
  kVtArray = 0x2000,
  kVtByRef = 0x4000,
};

// The platform's 96-bit decimal: magnitude (hi32 * 2^64 + lo64) divided by
// 10^scale, with a sign. Scales above 28 do not occur in valid values.
struct Decimal {
  uint8_t scale = 0;
  bool negative = false;
  uint32_t hi32 = 0;
  uint64_t lo64 = 0;

  bool operator==(const Decimal&) const = default;
};

// The automation value that crosses the call boundary. Text is held as 8-bit
// text (the host converts wide strings at the boundary). Objects and arrays
// are opaque: the server never looks inside them, it only has to recognise
// and refuse them. A by-reference variant (VT_BYREF|VT_VARIANT) points at a
// variant owned by the caller, which must outlive this one.
class Variant {
 public:
  Variant() = default;  // VT_EMPTY

  static Variant Null();
  static Variant I2(int16_t v);
  static Variant I4(int32_t v);
  static Variant R4(float v);
  static Variant R8(double v);
  // Currency: a fixed-point value scaled by 10000.
  static Variant Currency(int64_t scaled);
  static Variant Date(DateTime v);
  static Variant Text(std::string v);
  static Variant Bool(bool v);
  static Variant Ui1(uint8_t v);
  // The remaining integer types keep their own type codes, so that a value
  // reaches the functions that look at the code as the client sent it.
  static Variant I1(int8_t v);
  static Variant Ui2(uint16_t v);
  static Variant Ui4(uint32_t v);
  static Variant I8(int64_t v);
  static Variant Ui8(uint64_t v);
  static Variant Int(int32_t v);
  static Variant Uint(uint32_t v);
  static Variant Dec(Decimal v);
  static Variant ErrorCode(int32_t scode);
  static Variant Dispatch();
  static Variant Unknown();
  // An array marker: VT_ARRAY | element_type.
  static Variant Array(uint16_t element_type);
  // VT_BYREF | VT_VARIANT pointing at `target`.
  static Variant ByRef(const Variant* target);

  // The full type code, with VT_ARRAY / VT_BYREF bits.
  uint16_t Type() const { return type_; }
  bool IsByRef() const { return type_ == (kVtByRef | kVtVariant); }
  bool IsArray() const { return (type_ & kVtArray) != 0; }

  // The variant a by-reference variant points at, followed through any
  // chain of references; any other variant returns itself. A null target or
  // a chain that loops raises VariantTypeError.
  const Variant& Deref() const;

  // Accessors; each requires the matching type code and raises
  // VariantTypeError otherwise.
  int16_t AsI2() const;
  int32_t AsI4() const;
  float AsR4() const;
  double AsR8() const;
  int64_t AsCurrency() const;
  DateTime AsDate() const;
  const std::string& AsText() const;
  bool AsBool() const;
  uint8_t AsUi1() const;
  // Any of the integer types I1, I2, I4, I8, INT, UI1, UI2, UI4 and UINT as
  // a signed 64-bit value; UI8 only by AsUi8.
  int64_t AsInteger() const;
  uint64_t AsUi8() const;
  const Decimal& AsDecimal() const;
  int32_t AsErrorCode() const;

  bool operator==(const Variant&) const = default;

 private:
  using Value = std::variant<std::monostate, int64_t, uint64_t, double, std::string, bool, Decimal,
                             const Variant*>;
  Variant(uint16_t type, Value value) : type_(type), value_(std::move(value)) {}

  uint16_t type_ = kVtEmpty;
  Value value_;
};

// Human-readable type name ("Empty", "Null", "Integer", "Long", "Single",
// "Double", "Currency", "Date", "String", "Object", "Error", "Boolean",
// "Variant", "Unknown", "Decimal", "Byte", "LongLong", "Array", "ByRef
// Variant", or "VarType <n>" for the rest).
std::string TypeName(const Variant& v);

// Text form with the platform's variant rules (VariantChangeTypeEx to text,
// no flags): Empty "", Boolean "-1"/"0", R8 with 15 and R4 with 7
// significant digits ("1E+15" style), Currency as its exact decimal value,
// dates as short date + long time (a whole day number as the date alone, a
// value in [0, 1) as the time alone), 64-bit and unsigned integers and
// Decimal with all their digits (Decimal with the locale's decimal
// separator and without trailing zeros). A by-reference variant is followed.
// Null, arrays, objects, error codes and dates outside years 1 to 9999 raise
// VariantTypeError.
std::string VariantToText(const Variant& v, const FormatSettings& fs);

// Text to Boolean with the platform's rules: "True"/"False" in any case,
// "#TRUE#"/"#FALSE#" exactly, otherwise a number in the locale (thousands
// separators allowed) that is True when non-zero. Anything else raises
// VariantTypeError.
bool TextToBool(std::string_view text, const FormatSettings& fs);

}  // namespace velkora
