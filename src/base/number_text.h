#pragma once

// Helpers shared by the runtime conversions and the variant conversions:
// decimal digits of a double and locale-aware number parsing. Internal to
// the base layer.

#include <optional>
#include <string>
#include <string_view>

namespace velkora::number_text {

// A finite double rounded to a number of significant decimal digits:
// value = (negative ? -1 : 1) * d1.d2d3... * 10^exponent. `digits` has no
// trailing zeros; zero is digits "0", exponent 0, never negative.
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// Rounds half away from zero on the exact binary value, as the classic
// runtimes do ("%.7G" of 654322.25 gives 654322.3, not 654322.2).
// REQUIRES: value is finite, 1 <= precision <= 17.
DecimalDigits ToDecimalDigits(double value, int precision);

// Fixed-point text of `d` with `decimal_separator`: "0,000123", "1234,5".
std::string FixedText(const DecimalDigits& d, char decimal_separator);

// Mantissa of the scientific form of `d` without the exponent: "1,5".
std::string MantissaText(const DecimalDigits& d, char decimal_separator);

// How a number text may look, beyond sign, digits and one decimal separator.
struct NumberSyntax {
  char decimal_separator = '.';
  // 0 when grouping is not accepted; otherwise accepted anywhere in the
  // integral part after its first digit (the platform does not check the
  // group sizes, so "1.5" with a point for thousands reads as 15).
  char thousand_separator = 0;
  bool allow_exponent = true;
  // "&H1F" (hexadecimal) and "&O17" (octal) after the sign.
  bool allow_radix_prefix = false;
  // When above 0: a value above the largest finite double that is not above
  // that double's text with this many significant digits (the general
  // format's 1.79769313486232E308 for 15) reads as the largest finite
  // double, with its sign, so that the largest value written reads back.
  int largest_within_digits = 0;
};

// Parses the whole of `text` (blanks and tabs around it allowed). Returns
// nothing when the text is not a number or its value does not fit a finite
// double (see largest_within_digits for the one exception).
std::optional<double> ParseNumber(std::string_view text, const NumberSyntax& syntax);

}  // namespace velkora::number_text
