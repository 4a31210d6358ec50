#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"

namespace velkora {

// Exit code for a bad command line; the others are the server's (0 for a
// normal end or a second instance, 1 for a failed start-up).
inline constexpr int kExitUsage = 2;

// What the command line asks for.
struct HostOptions {
  bool help = false;
  bool version = false;
  bool json = false;
  bool german_formats = false;  // --locale de
  std::string config_dir;       // folder of velkora.ini
  std::string state_dir;        // folder of velkora.log
  // The program's own parameters (without parameter 0, the executable).
  std::vector<std::string> parameters;
};

// The options, or the usage error.
using HostOptionsResult = Expected<HostOptions>;

using EnvLookup = std::function<std::optional<std::string>(const char* name)>;

// Reads the command line (without argv[0]). Options come first, as
// "--name value" or "--name=value"; the first argument that does not start
// with "--" and everything after it, or everything after "--", are the
// program's parameters. Both folders come back as full paths
// (AbsoluteFolder). Default folders follow the XDG base directories:
// $XDG_CONFIG_HOME/velkora (else ~/.config/velkora) and
// $XDG_STATE_HOME/velkora (else ~/.local/state/velkora); a relative XDG
// value is ignored, as the XDG rules require. Fails for an unknown option,
// a missing value, an unsupported locale, or when no folder can be found.
HostOptionsResult ParseHostOptions(const std::vector<std::string>& args, const EnvLookup& env);

// The --help text.
std::string HostUsage();

// Pieces shared by the command lines of the server and of its commands.

// One "--name" or "--name=value" argument.
struct OptionArgument {
  std::string name;
  std::optional<std::string> inline_value;
};
OptionArgument SplitOption(const std::string& arg);
// The option's value: the one after "=", else the next argument (then `i`
// moves on to it); nothing when there is none.
std::optional<std::string> OptionValue(const OptionArgument& option,
                                       const std::vector<std::string>& args, std::size_t& i);
// `folder` as a full path without "." or ".." steps or a trailing "/": a
// relative folder is taken from the current folder, once, when the command
// line is read. Names are later joined to the folder (velkora.ini, the INI
// files a script names without a full path), and a relative folder there
// would be taken from the folder again. Unchanged when the current folder
// cannot be found out.
std::string AbsoluteFolder(const std::string& folder);
// $variable/velkora when the variable holds an absolute path, else
// $HOME/fallback/velkora; nothing when neither is usable.
std::optional<std::string> XdgFolder(const EnvLookup& env, const char* variable,
                                     std::string_view fallback);

}  // namespace velkora
