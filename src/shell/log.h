#pragma once

#include <string>
#include <string_view>

#include "shell/shell_context.h"

namespace velkora {

// Replaces every carriage return with "{0d}", then every line feed with
// "{0a}", so that no entry can break a log line. Nothing else changes.
std::string EscapeLineBreaks(std::string_view text);

// The timestamp of a log line: the locale's short date, a blank and its long
// time; the date alone in the first second after midnight.
std::string LogTimestamp(DateTime now, const FormatSettings& fs);

// Appends "timestamp text CR LF" to the log, the text escaped. Does nothing
// while SchreibeLog is off or no log file is set. The file is opened and
// closed for this one line; any failure is swallowed and the line is lost.
void WriteLog(ShellContext& shell, std::string_view text) noexcept;

}  // namespace velkora
