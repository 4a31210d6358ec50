#pragma once

#include <string>
#include <string_view>

#include "base/variant.h"
#include "shell/shell_context.h"

namespace velkora {

// The server's own settings file. Every access is one profile call on the
// file named by the context; nothing is cached, so changes by other programs
// are seen at the next read and a write is on disk when it returns.

// Values are typed by the Variant handed in:
// - integer (I2, I4, UI1): stored as decimal text. Read: "0x"/"0X" followed
//   by more text is hexadecimal, a leading "$" too; a missing, empty or
//   unreadable value (or one that does not fit the type) gives the default.
// - Boolean: stored as "1"/"0"; read as an integer with default 1/0, any
//   value other than 0 is true.
// - text: stored as given; read through a 2048-character buffer, so at most
//   2047 characters come back.
// Any other type shows the box "Fehler INI-Modul" and reads the default or
// writes nothing. A by-reference variant is followed.

// Returns a value of the default's type.
Variant ReadSetting(ShellContext& shell, std::string_view section, std::string_view key,
                    const Variant& default_value);

// Raises Error("nach <file> kann nicht geschrieben werden") when the profile
// write fails.
void WriteSetting(ShellContext& shell, std::string_view section, std::string_view key,
                  const Variant& value);

// Full path of the settings file.
const std::string& SettingsFileName(const ShellContext& shell);

// Section of the shell's own keys.
inline constexpr std::string_view kSectionFenster = "Fenster";

}  // namespace velkora
