#include "shell/log.h"

#include <exception>

#include "base/conversions.h"

namespace velkora {

std::string EscapeLineBreaks(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    if (c == '\r') {
      escaped += "{0d}";
    } else if (c == '\n') {
      escaped += "{0a}";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string LogTimestamp(DateTime now, const FormatSettings& fs) {
  const TimeParts t = DecodeTime(now);
  std::string stamp = DateToStr(now, fs);
  if (t.hour != 0 || t.minute != 0 || t.second != 0) {
    stamp += ' ';
    stamp += TimeToStr(now, fs);
  }
  return stamp;
}

void WriteLog(ShellContext& shell, std::string_view text) noexcept {
  if (!shell.schreibe_log || shell.log_file.empty()) return;
  try {
    Platform& platform = shell.platform;
    std::string line = LogTimestamp(platform.SystemClock().Now(), platform.UserLocale().Formats());
    line += ' ';
    line += EscapeLineBreaks(text);
    line += "\r\n";
    // A line that cannot be written is lost; the caller never learns of it.
    (void)platform.Files().AppendToFile(shell.log_file, line);
  } catch (const std::exception&) {
    // Same as a failed write: logging must never disturb the caller.
  }
}

}  // namespace velkora
