#include "hosts/posix/call_line.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <utility>

#include "base/ascii.h"
#include "base/date_time.h"

namespace velkora {

const Variant* ParsedCall::Own(Variant target) {
  targets_.push_back(std::make_unique<Variant>(std::move(target)));
  return targets_.back().get();
}

namespace {

// Raised inside the parser and turned into a CallLineError at its edge, so
// that each rule can simply stop where the line goes wrong.
struct ParseFailure : std::runtime_error {
  ParseFailure(std::size_t at, const std::string& text) : std::runtime_error(text), offset(at) {}
  std::size_t offset;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The smallest of Integer and Long that holds an integral value, else Double,
// which is how a script engine types an integer literal.
Variant IntegerVariant(double value) {
  if (value >= std::numeric_limits<int16_t>::min() &&
      value <= std::numeric_limits<int16_t>::max()) {
    return Variant::I2(static_cast<int16_t>(value));
  }
  if (value >= std::numeric_limits<int32_t>::min() &&
      value <= std::numeric_limits<int32_t>::max()) {
    return Variant::I4(static_cast<int32_t>(value));
  }
  return Variant::R8(value);
}

class Parser {
 public:
  explicit Parser(std::string_view line) : line_(line) {}

  ParsedCall ParseCall() {
    SkipBlanks();
    std::size_t name_start = pos_;
    std::string_view name = ReadName();
    if (name.empty()) Fail(name_start, "expected a method name");
    std::size_t name_end = pos_;
    SkipBlanks();
    if (EqualsIgnoreAsciiCase(name, "call") && pos_ > name_end && IsLetter(Peek())) {
      name = ReadName();
      name_end = pos_;
      SkipBlanks();
    }
    call_.method = std::string(name);

    if (Peek() == '(') {
      ++pos_;
      ParseArguments(')');
      Expect(')');
    } else if (!AtEnd()) {
      if (pos_ == name_end) Fail(pos_, "unexpected character after the method name");
      ParseArguments('\0');
    }
    SkipBlanks();
    if (!AtEnd()) Fail(pos_, "unexpected text after the call");
    return std::move(call_);
  }

 private:
  [[noreturn]] void Fail(std::size_t offset, std::string message) const {
    throw ParseFailure{offset, std::move(message)};
  }

  char Peek() const { return pos_ < line_.size() ? line_[pos_] : '\0'; }
  // The end of the line or a trailing comment.
  bool AtEnd() const { return pos_ >= line_.size() || line_[pos_] == '\''; }

  void SkipBlanks() {
    while (pos_ < line_.size() && IsBlank(line_[pos_])) ++pos_;
  }

  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) Fail(pos_, std::string("expected '") + c + "'");
    ++pos_;
  }

  std::string_view ReadName() {
    std::size_t start = pos_;
    if (pos_ < line_.size() && IsLetter(line_[pos_])) {
      while (pos_ < line_.size() && IsNameChar(line_[pos_])) ++pos_;
    }
    return line_.substr(start, pos_ - start);
  }

  // A comma-separated list up to `close` (')' inside parentheses, '\0' for
  // the end of the line).
  void ParseArguments(char close) {
    SkipBlanks();
    if (close != '\0' && Peek() == close) return;
    bool named_seen = false;
    for (;;) {
      SkipBlanks();
      std::size_t arg_start = pos_;
      CallArgument arg;
      if (auto named = TryNamedPrefix()) {
        arg.name = std::move(*named);
        named_seen = true;
      } else if (named_seen) {
        Fail(arg_start, "a positional argument cannot follow a named one");
      }
      arg.value = ParseValue();
      call_.args.push_back(std::move(arg));
      SkipBlanks();
      if (Peek() == ',') {
        ++pos_;
        continue;
      }
      if (close == '\0' ? AtEnd() : Peek() == close) return;
      Fail(pos_, close == '\0' ? "expected ',' or the end of the line" : "expected ',' or ')'");
    }
  }

  // `Name:=` in front of a value; consumes it only when present.
  std::optional<std::string> TryNamedPrefix() {
    std::size_t start = pos_;
    std::string_view name = ReadName();
    if (!name.empty()) {
      SkipBlanks();
      if (line_.substr(pos_, 2) == ":=") {
        pos_ += 2;
        return std::string(name);
      }
    }
    pos_ = start;
    return std::nullopt;
  }

  // Deeper nesting than any script needs; the parser recurses once per
  // level, so the bound keeps a hostile line from exhausting the stack.
  static constexpr int kMaxNesting = 64;

  // Counts one level of ByRef(...) or Array(...) while it is being parsed.
  class NestingGuard {
   public:
    NestingGuard(Parser& parser, std::size_t offset) : parser_(parser) {
      if (++parser_.depth_ > kMaxNesting) {
        parser_.Fail(offset,
                     "arguments nested deeper than " + std::to_string(kMaxNesting) + " levels");
      }
    }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
    ~NestingGuard() { --parser_.depth_; }

   private:
    Parser& parser_;
  };

  Variant ParseValue() {
    SkipBlanks();
    std::size_t start = pos_;
    char c = Peek();
    if (c == '"') return Variant::Text(ParseString());
    if (c == '#') return Variant::Date(ParseDate());
    if (IsDigit(c) || c == '.' || c == '-' || c == '+' || c == '&')
      return IntegerOrDouble(ParseNumber());
    if (!IsLetter(c)) {
      Fail(start, c == '\0' || c == '\'' || c == ',' || c == ')' ? "expected an argument"
                                                                 : "unexpected character");
    }
    std::string_view word = ReadName();
    if (EqualsIgnoreAsciiCase(word, "true")) return Variant::Bool(true);
    if (EqualsIgnoreAsciiCase(word, "false")) return Variant::Bool(false);
    if (EqualsIgnoreAsciiCase(word, "empty")) return Variant();
    if (EqualsIgnoreAsciiCase(word, "null")) return Variant::Null();
    if (EqualsIgnoreAsciiCase(word, "nothing")) return Variant::Dispatch();
    if (EqualsIgnoreAsciiCase(word, "byref")) {
      NestingGuard level(*this, start);
      Expect('(');
      Variant target = ParseValue();
      Expect(')');
      return Variant::ByRef(call_.Own(std::move(target)));
    }
    if (EqualsIgnoreAsciiCase(word, "array")) {
      NestingGuard level(*this, start);
      Expect('(');
      SkipBlanks();
      if (Peek() != ')') {
        for (;;) {
          ParseValue();
          SkipBlanks();
          if (Peek() != ',') break;
          ++pos_;
        }
      }
      Expect(')');
      return Variant::Array(kVtVariant);
    }
    if (EqualsIgnoreAsciiCase(word, "CLngLng") || EqualsIgnoreAsciiCase(word, "CDec")) {
      const bool decimal = EqualsIgnoreAsciiCase(word, "CDec");
      Expect('(');
      SkipBlanks();
      Variant v = decimal ? ParseExactDecimal() : ParseExactLongLong();
      Expect(')');
      return v;
    }
    for (const auto& [fn, convert] : kConversions) {
      if (EqualsIgnoreAsciiCase(word, fn)) {
        Expect('(');
        SkipBlanks();
        std::size_t number_start = pos_;
        Number n = ParseNumber();
        Expect(')');
        std::optional<Variant> v = convert(n.value);
        if (!v) Fail(number_start, "number out of range for " + std::string(fn));
        return *v;
      }
    }
    Fail(start,
         "unknown word '" + std::string(word) +
             "' (variables are not supported; write ByRef(value) for a by-reference argument)");
  }

  std::string ParseString() {
    std::size_t open = pos_;
    ++pos_;
    std::string text;
    for (;;) {
      if (pos_ >= line_.size()) Fail(open, "unterminated string");
      char c = line_[pos_++];
      if (c == '"') {
        if (Peek() != '"') return text;
        ++pos_;
      }
      text += c;
    }
  }

  struct Number {
    double value = 0;
    bool integral = false;
  };

  static Variant IntegerOrDouble(const Number& n) {
    return n.integral ? IntegerVariant(n.value) : Variant::R8(n.value);
  }

  Number ParseNumber() {
    std::size_t start = pos_;
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') {
      negative = Peek() == '-';
      ++pos_;
    }
    Number n;
    if (Peek() == '&') {
      n = ParseHex();
    } else {
      n = ParseDecimal(start);
    }
    if (IsNameChar(Peek()) || Peek() == '.') Fail(pos_, "malformed number");
    if (negative) n.value = -n.value;
    return n;
  }

  Number ParseHex() {
    std::size_t start = pos_;
    ++pos_;
    if (Peek() != 'h' && Peek() != 'H') Fail(pos_, "expected 'h' after '&'");
    ++pos_;
    uint32_t bits = 0;
    int digits = 0;
    for (int d; (d = HexDigit(Peek())) >= 0; ++pos_, ++digits) {
      if (digits == 8) Fail(start, "hexadecimal number longer than 8 digits");
      bits = bits * 16 + static_cast<uint32_t>(d);
    }
    if (digits == 0) Fail(pos_, "expected hexadecimal digits");
    Number n;
    n.integral = true;
    if (Peek() == '&') {
      ++pos_;
      n.value = static_cast<int32_t>(bits);
    } else if (bits <= 0xFFFF) {
      n.value = static_cast<int16_t>(static_cast<uint16_t>(bits));
    } else {
      n.value = static_cast<int32_t>(bits);
    }
    return n;
  }

  Number ParseDecimal(std::size_t start) {
    std::size_t digits_start = pos_;
    bool integral = true;
    bool any_digit = false;
    while (IsDigit(Peek())) {
      ++pos_;
      any_digit = true;
    }
    if (Peek() == '.') {
      integral = false;
      ++pos_;
      while (IsDigit(Peek())) {
        ++pos_;
        any_digit = true;
      }
    }
    if (!any_digit) Fail(start, "expected a number");
    if (Peek() == 'e' || Peek() == 'E') {
      integral = false;
      ++pos_;
      if (Peek() == '+' || Peek() == '-') ++pos_;
      if (!IsDigit(Peek())) Fail(pos_, "expected exponent digits");
      while (IsDigit(Peek())) ++pos_;
    }
    std::string_view text = line_.substr(digits_start, pos_ - digits_start);
    Number n;
    n.integral = integral;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n.value);
    if (ec == std::errc::result_out_of_range || !std::isfinite(n.value))
      Fail(start, "number out of range");
    if (ec != std::errc() || end != text.data() + text.size()) Fail(start, "malformed number");
    return n;
  }

  // The digits of an exact number: optional sign, digits, and for decimals
  // a fraction; no exponent, so that no digit is lost on the way.
  struct ExactDigits {
    bool negative = false;
    std::string digits;     // integral and fraction digits together
    std::size_t scale = 0;  // how many of them are fraction digits
  };

  ExactDigits ReadExactDigits(bool allow_fraction) {
    const std::size_t start = pos_;
    ExactDigits n;
    if (Peek() == '-' || Peek() == '+') n.negative = line_[pos_++] == '-';
    while (IsDigit(Peek())) n.digits += line_[pos_++];
    if (allow_fraction && Peek() == '.') {
      ++pos_;
      while (IsDigit(Peek())) {
        n.digits += line_[pos_++];
        ++n.scale;
      }
    }
    if (n.digits.empty()) Fail(start, "expected a number");
    if (IsNameChar(Peek()) || Peek() == '.') Fail(pos_, "malformed number");
    return n;
  }

  // CLngLng(n): a 64-bit integer (VT_I8) with every digit.
  Variant ParseExactLongLong() {
    const std::size_t start = pos_;
    const ExactDigits n = ReadExactDigits(false);
    const uint64_t limit = n.negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull;
    uint64_t value = 0;
    for (const char c : n.digits) {
      const auto digit = static_cast<uint64_t>(c - '0');
      if (value > (limit - digit) / 10) Fail(start, "number out of range for CLngLng");
      value = value * 10 + digit;
    }
    return Variant::I8(n.negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value));
  }

  // CDec(n): a Decimal (VT_DECIMAL) with every digit: up to 28 fraction
  // digits and a magnitude below 2^96.
  Variant ParseExactDecimal() {
    const std::size_t start = pos_;
    const ExactDigits n = ReadExactDigits(true);
    if (n.scale > 28) Fail(start, "more than 28 decimal places for CDec");
    uint32_t limbs[3] = {0, 0, 0};  // least significant first
    for (const char c : n.digits) {
      uint64_t carry = static_cast<uint64_t>(c - '0');
      for (uint32_t& limb : limbs) {
        const uint64_t product = static_cast<uint64_t>(limb) * 10 + carry;
        limb = static_cast<uint32_t>(product);
        carry = product >> 32;
      }
      if (carry != 0) Fail(start, "number out of range for CDec");
    }
    Decimal d;
    d.scale = static_cast<uint8_t>(n.scale);
    d.negative = n.negative;
    d.hi32 = limbs[2];
    d.lo64 = (static_cast<uint64_t>(limbs[1]) << 32) | limbs[0];
    return Variant::Dec(d);
  }

  // #yyyy-mm-dd#, #yyyy-mm-dd hh:nn# or #yyyy-mm-dd hh:nn:ss#.
  DateTime ParseDate() {
    std::size_t open = pos_;
    ++pos_;
    int year = ReadField(4, 4, "a four-digit year");
    ExpectChar('-');
    int month = ReadField(1, 2, "the month");
    ExpectChar('-');
    int day = ReadField(1, 2, "the day");
    if (!IsValidDate(year, month, day)) Fail(open, "no such date");
    DateTime date = EncodeDate(year, month, day);
    DateTime time = 0;
    if (Peek() == ' ') {
      while (Peek() == ' ') ++pos_;
      std::size_t time_start = pos_;
      int hour = ReadField(1, 2, "the hour");
      ExpectChar(':');
      int minute = ReadField(1, 2, "the minutes");
      int second = 0;
      if (Peek() == ':') {
        ++pos_;
        second = ReadField(1, 2, "the seconds");
      }
      if (hour > 23 || minute > 59 || second > 59) Fail(time_start, "no such time");
      time = EncodeTime(hour, minute, second);
    }
    ExpectChar('#');
    // Before 1899 the day counts down while the time of day still counts up.
    return date < 0 ? date - time : date + time;
  }

  int ReadField(int min_digits, int max_digits, const char* what) {
    std::size_t start = pos_;
    int value = 0;
    while (IsDigit(Peek()) && static_cast<int>(pos_ - start) < max_digits) {
      value = value * 10 + (line_[pos_] - '0');
      ++pos_;
    }
    if (static_cast<int>(pos_ - start) < min_digits) Fail(start, std::string("expected ") + what);
    return value;
  }

  void ExpectChar(char c) {
    if (Peek() != c) Fail(pos_, std::string("expected '") + c + "'");
    ++pos_;
  }

  using Conversion = std::optional<Variant> (*)(double);
  static constexpr std::pair<std::string_view, Conversion> kConversions[] = {
      {"CInt",
       [](double v) -> std::optional<Variant> {
         double r = std::nearbyint(v);
         if (r < -32768 || r > 32767) return std::nullopt;
         return Variant::I2(static_cast<int16_t>(r));
       }},
      {"CLng",
       [](double v) -> std::optional<Variant> {
         double r = std::nearbyint(v);
         if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
         return Variant::I4(static_cast<int32_t>(r));
       }},
      {"CByte",
       [](double v) -> std::optional<Variant> {
         double r = std::nearbyint(v);
         if (r < 0 || r > 255) return std::nullopt;
         return Variant::Ui1(static_cast<uint8_t>(r));
       }},
      {"CSng",
       [](double v) -> std::optional<Variant> {
         if (std::fabs(v) > std::numeric_limits<float>::max()) return std::nullopt;
         return Variant::R4(static_cast<float>(v));
       }},
      {"CDbl", [](double v) -> std::optional<Variant> { return Variant::R8(v); }},
      {"CCur",
       [](double v) -> std::optional<Variant> {
         double scaled = std::nearbyint(v * 10000.0);
         if (std::fabs(scaled) >= 9.2233720368547758e18) return std::nullopt;
         return Variant::Currency(static_cast<int64_t>(scaled));
       }},
  };

  std::string_view line_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  ParsedCall call_;
};

// Columns count characters, so a UTF-8 sequence is one column.
std::size_t ColumnOf(std::string_view line, std::size_t offset) {
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset && i < line.size(); ++i) {
    if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++column;
  }
  if (offset > line.size()) column += offset - line.size();
  return column;
}

}  // namespace

CallLineResult ParseCallLine(std::string_view line) {
  std::size_t first = 0;
  while (first < line.size() && IsBlank(line[first])) ++first;
  if (first == line.size() || line[first] == '\'' || line[first] == '#') return std::nullopt;
  try {
    return Parser(line).ParseCall();
  } catch (const ParseFailure& failure) {
    return Unexpected(CallLineError{ColumnOf(line, failure.offset), failure.what()});
  }
}

}  // namespace velkora
