#include "base/variant.h"

#include <cmath>

#include "base/ascii.h"
#include "base/conversions.h"
#include "base/error.h"
#include "base/number_text.h"

namespace velkora {
namespace {

// The platform refuses references to references; a longer chain than this
// can only be a loop.
constexpr int kMaxReferenceDepth = 16;

// A double with `precision` significant digits, the platform's way: fixed
// while the fixed form needs at most `precision` digits (integral digits, or
// the decimals including the zeros after the separator), else "1.5E+15",
// "5.6789E-12" with a signed exponent of at least two digits.
std::string RealToText(double value, int precision, char decimal_separator) {
  if (std::isnan(value)) return "-1.#IND";
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  number_text::DecimalDigits d = number_text::ToDecimalDigits(value, precision);
  int digits = static_cast<int>(d.digits.size());
  bool scientific =
      d.exponent >= precision || (d.exponent < 0 && -d.exponent - 1 + digits > precision);
  if (!scientific) return number_text::FixedText(d, decimal_separator);
  std::string text = number_text::MantissaText(d, decimal_separator);
  text += d.exponent < 0 ? "E-" : "E+";
  int magnitude = d.exponent < 0 ? -d.exponent : d.exponent;
  if (magnitude < 10) text += '0';
  text += std::to_string(magnitude);
  return text;
}

// Currency is a count of ten-thousandths; its text is the exact decimal
// value with trailing zeros dropped.
std::string CurrencyToText(int64_t scaled, char decimal_separator) {
  bool negative = scaled < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / 10000);
  std::string fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += decimal_separator + fraction;
  return text;
}

// The exact decimal value: the 96-bit magnitude's digits with the point
// `scale` places from the right, trailing zeros of the fraction dropped.
std::string DecimalToText(const Decimal& d, char decimal_separator) {
  // Long division by 10 over three 32-bit limbs, most significant first.
  uint32_t limbs[3] = {d.hi32, static_cast<uint32_t>(d.lo64 >> 32), static_cast<uint32_t>(d.lo64)};
  std::string digits;  // least significant first
  while (limbs[0] != 0 || limbs[1] != 0 || limbs[2] != 0) {
    uint64_t remainder = 0;
    for (uint32_t& limb : limbs) {
      const uint64_t current = (remainder << 32) | limb;
      limb = static_cast<uint32_t>(current / 10);
      remainder = current % 10;
    }
    digits += static_cast<char>('0' + remainder);
  }
  std::size_t scale = d.scale;
  // Zeros after the point carry no value; drop them before placing it.
  std::size_t dropped = 0;
  while (dropped < scale && dropped < digits.size() && digits[dropped] == '0') ++dropped;
  if (dropped == digits.size()) return "0";
  digits.erase(0, dropped);
  scale -= dropped;
  if (digits.size() <= scale) digits.append(scale - digits.size() + 1, '0');
  std::string text = d.negative ? "-" : "";
  for (std::size_t i = digits.size(); i-- > 0;) {
    text += digits[i];
    if (i == scale && i != 0) text += decimal_separator;
  }
  return text;
}

// Short date and time; a whole day number shows the date alone, a value in
// [0, 1) the time alone.
std::string DateToText(DateTime value, const FormatSettings& fs) {
  // Outside years 1 to 9999 a date has no text form.
  DateTime rounded = RoundToMillisecond(value);
  if (!std::isfinite(rounded) || DecodeDate(rounded).year == 0) throw VariantTypeError();
  if (rounded >= 0.0 && rounded < 1.0) return TimeToStr(rounded, fs);
  return DateTimeToStr(rounded, fs);
}

}  // namespace

Variant Variant::Null() { return Variant(kVtNull, {}); }
Variant Variant::I2(int16_t v) { return Variant(kVtI2, int64_t{v}); }
Variant Variant::I4(int32_t v) { return Variant(kVtI4, int64_t{v}); }
Variant Variant::R4(float v) { return Variant(kVtR4, double{v}); }
Variant Variant::R8(double v) { return Variant(kVtR8, v); }
Variant Variant::Currency(int64_t scaled) { return Variant(kVtCy, scaled); }
Variant Variant::Date(DateTime v) { return Variant(kVtDate, v); }
Variant Variant::Text(std::string v) { return Variant(kVtBstr, std::move(v)); }
Variant Variant::Bool(bool v) { return Variant(kVtBool, v); }
Variant Variant::Ui1(uint8_t v) { return Variant(kVtUi1, int64_t{v}); }
Variant Variant::I1(int8_t v) { return Variant(kVtI1, int64_t{v}); }
Variant Variant::Ui2(uint16_t v) { return Variant(kVtUi2, int64_t{v}); }
Variant Variant::Ui4(uint32_t v) { return Variant(kVtUi4, int64_t{v}); }
Variant Variant::I8(int64_t v) { return Variant(kVtI8, v); }
Variant Variant::Ui8(uint64_t v) { return Variant(kVtUi8, v); }
Variant Variant::Int(int32_t v) { return Variant(kVtInt, int64_t{v}); }
Variant Variant::Uint(uint32_t v) { return Variant(kVtUint, int64_t{v}); }
Variant Variant::Dec(Decimal v) { return Variant(kVtDecimal, v); }
Variant Variant::ErrorCode(int32_t scode) { return Variant(kVtError, int64_t{scode}); }
Variant Variant::Dispatch() { return Variant(kVtDispatch, {}); }
Variant Variant::Unknown() { return Variant(kVtUnknown, {}); }
Variant Variant::Array(uint16_t element_type) {
  return Variant(static_cast<uint16_t>(kVtArray | (element_type & 0x0FFF)), {});
}
Variant Variant::ByRef(const Variant* target) {
  return Variant(static_cast<uint16_t>(kVtByRef | kVtVariant), target);
}

const Variant& Variant::Deref() const {
  const Variant* v = this;
  for (int depth = 0; v->IsByRef(); ++depth) {
    const Variant* target = std::get<const Variant*>(v->value_);
    if (target == nullptr || depth == kMaxReferenceDepth) throw VariantTypeError();
    v = target;
  }
  return *v;
}

namespace {

template <typename T, typename Value>
const T& Get(uint16_t actual, uint16_t wanted, const Value& value) {
  const T* p = std::get_if<T>(&value);
  if (actual != wanted || p == nullptr) throw VariantTypeError();
  return *p;
}

}  // namespace

int16_t Variant::AsI2() const { return static_cast<int16_t>(Get<int64_t>(type_, kVtI2, value_)); }
int32_t Variant::AsI4() const { return static_cast<int32_t>(Get<int64_t>(type_, kVtI4, value_)); }
float Variant::AsR4() const { return static_cast<float>(Get<double>(type_, kVtR4, value_)); }
double Variant::AsR8() const { return Get<double>(type_, kVtR8, value_); }
int64_t Variant::AsCurrency() const { return Get<int64_t>(type_, kVtCy, value_); }
DateTime Variant::AsDate() const { return Get<double>(type_, kVtDate, value_); }
const std::string& Variant::AsText() const { return Get<std::string>(type_, kVtBstr, value_); }
bool Variant::AsBool() const { return Get<bool>(type_, kVtBool, value_); }
uint8_t Variant::AsUi1() const { return static_cast<uint8_t>(Get<int64_t>(type_, kVtUi1, value_)); }
int64_t Variant::AsInteger() const {
  switch (type_) {
    case kVtI1:
    case kVtI2:
    case kVtI4:
    case kVtI8:
    case kVtInt:
    case kVtUi1:
    case kVtUi2:
    case kVtUi4:
    case kVtUint: return Get<int64_t>(type_, type_, value_);
    default: throw VariantTypeError();
  }
}
uint64_t Variant::AsUi8() const { return Get<uint64_t>(type_, kVtUi8, value_); }
const Decimal& Variant::AsDecimal() const { return Get<Decimal>(type_, kVtDecimal, value_); }
int32_t Variant::AsErrorCode() const {
  return static_cast<int32_t>(Get<int64_t>(type_, kVtError, value_));
}

std::string TypeName(const Variant& v) {
  if (v.IsByRef()) return "ByRef Variant";
  if (v.IsArray()) return "Array";
  switch (v.Type()) {
    case kVtEmpty: return "Empty";
    case kVtNull: return "Null";
    case kVtI2: return "Integer";
    case kVtI4: return "Long";
    case kVtR4: return "Single";
    case kVtR8: return "Double";
    case kVtCy: return "Currency";
    case kVtDate: return "Date";
    case kVtBstr: return "String";
    case kVtDispatch: return "Object";
    case kVtError: return "Error";
    case kVtBool: return "Boolean";
    case kVtVariant: return "Variant";
    case kVtUnknown: return "Unknown";
    case kVtDecimal: return "Decimal";
    case kVtUi1: return "Byte";
    case kVtI8: return "LongLong";
    default: return "VarType " + std::to_string(v.Type());
  }
}

std::string VariantToText(const Variant& variant, const FormatSettings& fs) {
  const Variant& v = variant.Deref();
  switch (v.Type()) {
    case kVtEmpty: return "";
    case kVtI2: return std::to_string(v.AsI2());
    case kVtI4: return std::to_string(v.AsI4());
    case kVtI1:
    case kVtUi1:
    case kVtUi2:
    case kVtUi4:
    case kVtI8:
    case kVtInt:
    case kVtUint: return std::to_string(v.AsInteger());
    case kVtUi8: return std::to_string(v.AsUi8());
    case kVtDecimal: return DecimalToText(v.AsDecimal(), fs.decimal_separator);
    case kVtR4: return RealToText(v.AsR4(), 7, fs.decimal_separator);
    case kVtR8: return RealToText(v.AsR8(), 15, fs.decimal_separator);
    case kVtCy: return CurrencyToText(v.AsCurrency(), fs.decimal_separator);
    case kVtDate: return DateToText(v.AsDate(), fs);
    case kVtBstr: return v.AsText();
    case kVtBool: return v.AsBool() ? "-1" : "0";
    default: throw VariantTypeError();  // Null, objects, error codes, arrays
  }
}

bool TextToBool(std::string_view text, const FormatSettings& fs) {
  if (EqualsIgnoreAsciiCase(text, "True") || text == "#TRUE#") return true;
  if (EqualsIgnoreAsciiCase(text, "False") || text == "#FALSE#") return false;
  number_text::NumberSyntax syntax;
  syntax.decimal_separator = fs.decimal_separator;
  syntax.thousand_separator = fs.thousand_separator;
  syntax.allow_radix_prefix = true;
  std::optional<double> value = number_text::ParseNumber(text, syntax);
  if (!value) throw VariantTypeError();
  return *value != 0.0;
}

}  // namespace velkora
