#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "base/ascii.h"

namespace velkora::number_text {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

DecimalDigits ToDecimalDigits(double value, int precision) {
  DecimalDigits result;
  if (value == 0.0) {
    result.digits = "0";
    return result;
  }
  result.negative = value < 0;
  // Far more digits than asked for, so that rounding below works on the
  // (practically) exact value instead of rounding twice.
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                 std::chars_format::scientific, 39);
  std::string_view text(buffer, ec == std::errc() ? static_cast<size_t>(end - buffer) : 0);
  size_t e_pos = text.find('e');
  std::string all;
  for (char c : text.substr(0, e_pos)) {
    if (IsDigit(c)) all.push_back(c);
  }
  int exponent = std::atoi(std::string(text.substr(e_pos + 1)).c_str());

  std::string digits = all.substr(0, static_cast<size_t>(precision));
  if (all[static_cast<size_t>(precision)] >= '5') {
    int i = precision - 1;
    while (i >= 0 && digits[static_cast<size_t>(i)] == '9') digits[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
      ++digits[static_cast<size_t>(i)];
    } else {
      digits.insert(digits.begin(), '1');
      digits.pop_back();
      ++exponent;
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  result.digits = digits;
  result.exponent = exponent;
  return result;
}

std::string FixedText(const DecimalDigits& d, char decimal_separator) {
  std::string text = d.negative ? "-" : "";
  const std::string& digits = d.digits;
  if (d.exponent < 0) {
    text += '0';
    text += decimal_separator;
    text.append(static_cast<size_t>(-d.exponent - 1), '0');
    text += digits;
    return text;
  }
  size_t integral = static_cast<size_t>(d.exponent) + 1;
  if (digits.size() <= integral) {
    text += digits;
    text.append(integral - digits.size(), '0');
  } else {
    text.append(digits, 0, integral);
    text += decimal_separator;
    text.append(digits, integral);
  }
  return text;
}

std::string MantissaText(const DecimalDigits& d, char decimal_separator) {
  std::string text = d.negative ? "-" : "";
  text += d.digits[0];
  if (d.digits.size() > 1) {
    text += decimal_separator;
    text.append(d.digits, 1);
  }
  return text;
}

namespace {

// Whether the number whose C-locale digits are in `plain` (an exponent
// after 'e' is ignored: `position` already holds it), with its first
// significant digit at decimal `position` (digits before the point),
// is not above the largest finite double rounded to `digits` significant
// digits.
bool AtMostLargestWritten(std::string_view plain, long long position, int digits) {
  const DecimalDigits bound = ToDecimalDigits(std::numeric_limits<double>::max(), digits);
  if (position != bound.exponent + 1) return position < bound.exponent + 1;
  std::string mantissa;
  for (const char c : plain.substr(0, plain.find('e'))) {
    if (IsDigit(c) && (c != '0' || !mantissa.empty())) mantissa += c;
  }
  while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
  // Same position of the first digit: the digit strings compare as numbers
  // once the shorter one is padded with zeros, which a plain string
  // comparison does (a prefix is the smaller).
  return mantissa <= bound.digits;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text, const NumberSyntax& syntax) {
  text = TrimBlanks(text, kSpaceAndTab);
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }

  if (syntax.allow_radix_prefix && pos + 1 < text.size() && text[pos] == '&') {
    char kind = text[pos + 1];
    int radix = (kind == 'h' || kind == 'H') ? 16 : (kind == 'o' || kind == 'O') ? 8 : 0;
    if (radix != 0) {
      pos += 2;
      if (pos == text.size()) return std::nullopt;
      double value = 0;
      for (; pos < text.size(); ++pos) {
        int digit = DigitValue(text[pos]);
        if (digit >= radix) return std::nullopt;
        value = value * radix + digit;
      }
      return negative ? -value : value;
    }
  }

  // Rewrite the number in the C locale's form for from_chars. `magnitude`
  // is the decimal position of the first significant digit (count of
  // integral digits, or minus the zeros right after the separator); with the
  // exponent it tells underflow from overflow.
  std::string plain;
  long long magnitude = 0;
  bool significant = false;
  bool seen_digit = false;
  bool in_fraction = false;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (IsDigit(c)) {
      if (c != '0') significant = true;
      if (!in_fraction && significant) ++magnitude;
      if (in_fraction && !significant) --magnitude;
      plain += c;
      seen_digit = true;
    } else if (c == syntax.decimal_separator && !in_fraction) {
      in_fraction = true;
      plain += '.';
    } else if (syntax.thousand_separator != 0 && c == syntax.thousand_separator && !in_fraction &&
               seen_digit) {
      // grouping is skipped
    } else {
      break;
    }
  }
  if (!seen_digit) return std::nullopt;
  long long exponent = 0;
  if (pos < text.size() && syntax.allow_exponent && (text[pos] == 'e' || text[pos] == 'E')) {
    plain += 'e';
    ++pos;
    bool exponent_negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      exponent_negative = text[pos] == '-';
      plain += text[pos++];
    }
    size_t first = pos;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
      plain += text[pos];
      if (exponent < 100000) exponent = exponent * 10 + (text[pos] - '0');
    }
    if (pos == first) return std::nullopt;
    if (exponent_negative) exponent = -exponent;
  }
  if (pos != text.size()) return std::nullopt;

  double value = 0;
  auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small for a double reads as zero; too large is not a number.
    if (!significant || magnitude + exponent < 0) return negative ? -0.0 : 0.0;
    if (syntax.largest_within_digits > 0 &&
        AtMostLargestWritten(plain, magnitude + exponent, syntax.largest_within_digits)) {
      const double largest = std::numeric_limits<double>::max();
      return negative ? -largest : largest;
    }
    return std::nullopt;
  }
  if (ec != std::errc() || ptr != plain.data() + plain.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace velkora::number_text
