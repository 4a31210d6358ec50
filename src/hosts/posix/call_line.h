#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "base/variant.h"

namespace velkora {

// One argument of a call line: its value and, for a named argument
// (`Sektion:="Fenster"`), the parameter name as written.
struct CallArgument {
  std::optional<std::string> name;
  Variant value;
};

// A parsed call line. The variants that `ByRef(...)` arguments point at are
// owned here, at stable addresses, so the call may be moved but not copied;
// the arguments stay valid as long as the ParsedCall lives.
class ParsedCall {
 public:
  ParsedCall() = default;
  ParsedCall(ParsedCall&&) = default;
  ParsedCall& operator=(ParsedCall&&) = default;
  ParsedCall(const ParsedCall&) = delete;
  ParsedCall& operator=(const ParsedCall&) = delete;

  std::string method;              // as written, letter case kept
  std::vector<CallArgument> args;  // in the order written

  // Keeps `target` alive for the call's lifetime and returns its address.
  const Variant* Own(Variant target);

 private:
  std::vector<std::unique_ptr<Variant>> targets_;
};

// A line that is not a valid call. `column` counts characters from 1 and
// points at the offending character (one past the end for a line that stops
// too early).
struct CallLineError {
  std::size_t column = 0;
  std::string message;
};

// The outcome of ParseCallLine: the call, no call (nullopt) for a blank
// line or a comment line, or the error.
using CallLineResult = Expected<std::optional<ParsedCall>, CallLineError>;

// Parses one call line written like a VBScript statement:
//
//   Name(arg, ...)     Name arg, ...     Name     Name()     Call Name(arg, ...)
//
// Names and keywords are matched in any letter case. Arguments:
//   "text"                    String; "" inside stands for one quote
//   12, -5, &hFF, &hFFFF&     Integer (I2) when the value fits 16 bits, else
//                             Long (I4), else Double; hexadecimal follows
//                             VBScript: up to four digits are a 16-bit
//                             pattern (&hFFFF is -1), a trailing & makes the
//                             digits a 32-bit pattern
//   1.5, -2e3, .25            Double
//   True, False               Boolean
//   Empty, Null, Nothing      Empty, Null, an object reference
//   #2026-12-07 09:15:02#     Date; also #yyyy-mm-dd# and #yyyy-mm-dd hh:nn#
//   Array(arg, ...)           an array of variants (its elements are checked
//                             for syntax but not kept: the server only has to
//                             recognise arrays)
//   CInt(n) CLng(n) CSng(n) CDbl(n) CCur(n) CByte(n)
//                             a number forced to Integer, Long, Single,
//                             Double, Currency or Byte (range-checked)
//   CLngLng(n) CDec(n)        a 64-bit integer (VT_I8) or a Decimal
//                             (VT_DECIMAL, up to 28 decimal places) taken
//                             digit by digit from the literal, so that no
//                             digit is lost; no exponent
//   ByRef(arg)                a by-reference variant pointing at the value
//                             of `arg`, as a script passes a variable
//   Param:=arg                a named argument
// A line whose first non-blank character is ' or # is a comment, as is a
// blank line; text after a ' that ends the call is a trailing comment.
// Positional arguments may not follow named ones. ByRef(...) and
// Array(...) nest at most 64 levels deep; a deeper line is a syntax error.
CallLineResult ParseCallLine(std::string_view line);

}  // namespace velkora
