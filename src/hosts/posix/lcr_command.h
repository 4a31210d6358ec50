#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"
#include "hosts/posix/host_options.h"

namespace velkora {

// The what-if command `velkora lcr SECONDS [options]`: one tariff
// evaluation, the one behind GetRasLCRInfo, for a connection of SECONDS
// starting at a given instant.
struct LcrCommandOptions {
  std::string seconds;          // the duration exactly as given (the Dauer text)
  std::optional<DateTime> at;   // --at; now when absent
  std::string config_dir;       // folder of velkora.ini, a full path
  bool german_formats = false;  // --locale de
  bool trace = false;           // --trace: the evaluation's log lines to stderr
  bool help = false;
};

// The options, or the usage error.
using LcrCommandResult = Expected<LcrCommandOptions>;

// Reads the arguments after "lcr". Options ("--name value" or
// "--name=value") may stand before or after SECONDS; "--" ends them, so a
// duration may start with "-". Fails for an unknown option, a missing
// value, a missing or second SECONDS, an --at that is not a real instant,
// an unsupported locale, or when no settings folder can be found.
LcrCommandResult ParseLcrCommand(const std::vector<std::string>& args, const EnvLookup& env);

// "DD.MM.YYYY HH:MM:SS" (one or two digits for day, month and the time
// fields, four for the year) as a local date-time value; nothing when the
// text has another form or names no real instant.
std::optional<DateTime> ParseAtInstant(std::string_view text);

// The usage text of the command (also part of velkora --help).
std::string LcrUsage();

}  // namespace velkora
