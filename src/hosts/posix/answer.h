#pragma once

#include <string>
#include <string_view>

#include "automation/call_result.h"
#include "base/format_settings.h"
#include "hosts/posix/call_line.h"

namespace velkora {

// How the host writes its answers: one line per call line, so that a script
// can pair every answer with its call.
enum class AnswerMode { kPlain, kJson };

// A JSON string literal (with the quotes). Quotes, backslashes and control
// characters are escaped; valid UTF-8 passes through. Bytes that are not
// valid UTF-8 (text from an ANSI file) are written as the Latin-1 character
// of the same number, so the line stays valid JSON without losing the byte.
std::string JsonString(std::string_view text);

// The answer line (without the line break) for a call's result.
//
// Plain: the value as text with the given formats (an empty result gives an
// empty line; a value without text form, such as Null, gives its type name in
// angle brackets); line breaks inside the text are written as \r and \n.
// An error gives "Fehler 0x8000FFFF: <description>".
//
// JSON: {"value":"010103","type":"String","vt":8} (value null when it has no
// text form), or {"error":{"source":...,"description":...,"status":-2147418113,
// "status_hex":"0x8000FFFF"}}.
std::string FormatAnswer(const CallResult& result, const FormatSettings& fs, AnswerMode mode);

// The answer line for a malformed call line.
// Plain: "Syntaxfehler in Spalte 7: expected ')'".
// JSON: {"syntax_error":{"column":7,"message":"expected ')'"}}.
std::string FormatSyntaxError(const CallLineError& error, AnswerMode mode);

}  // namespace velkora
