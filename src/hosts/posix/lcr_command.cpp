#include "hosts/posix/lcr_command.h"

namespace velkora {
namespace {

// Digits at `pos`, at least `min` and at most `max` of them.
std::optional<int> Digits(std::string_view text, std::size_t& pos, std::size_t min,
                          std::size_t max) {
  std::size_t count = 0;
  int value = 0;
  while (pos < text.size() && count < max && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++count;
  }
  if (count < min) return std::nullopt;
  return value;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

std::optional<DateTime> ParseAtInstant(std::string_view text) {
  std::size_t pos = 0;
  const auto day = Digits(text, pos, 1, 2);
  if (!day || !Expect(text, pos, '.')) return std::nullopt;
  const auto month = Digits(text, pos, 1, 2);
  if (!month || !Expect(text, pos, '.')) return std::nullopt;
  const auto year = Digits(text, pos, 4, 4);
  if (!year || !Expect(text, pos, ' ')) return std::nullopt;
  const auto hour = Digits(text, pos, 1, 2);
  if (!hour || !Expect(text, pos, ':')) return std::nullopt;
  const auto minute = Digits(text, pos, 1, 2);
  if (!minute || !Expect(text, pos, ':')) return std::nullopt;
  const auto second = Digits(text, pos, 1, 2);
  if (!second || pos != text.size()) return std::nullopt;
  if (!IsValidDate(*year, *month, *day) || *hour > 23 || *minute > 59 || *second > 59) {
    return std::nullopt;
  }
  return EncodeDate(*year, *month, *day) + EncodeTime(*hour, *minute, *second);
}

LcrCommandResult ParseLcrCommand(const std::vector<std::string>& args, const EnvLookup& env) {
  LcrCommandOptions options;
  std::optional<std::string> seconds;
  std::optional<std::string> config_dir;
  auto fail = [](std::string message) -> LcrCommandResult {
    return Unexpected(std::move(message));
  };
  auto positional = [&](const std::string& arg) -> bool {
    if (seconds) return false;
    seconds = arg;
    return true;
  };

  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.rfind("--", 0) != 0) {
      if (!positional(arg)) return fail("lcr: more than one duration ('" + arg + "')");
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    const OptionArgument option = SplitOption(arg);
    const std::string& name = option.name;

    if (name == "--help" || name == "--trace") {
      if (option.inline_value) return fail("lcr: option " + name + " takes no value");
      (name == "--help" ? options.help : options.trace) = true;
    } else if (name == "--at" || name == "--config-dir" || name == "--locale") {
      std::optional<std::string> v = OptionValue(option, args, i);
      if (!v || v->empty()) return fail("lcr: option " + name + " needs a value");
      if (name == "--at") {
        options.at = ParseAtInstant(*v);
        if (!options.at) {
          return fail("lcr: --at '" + *v +
                      "' is not an instant of the form \"DD.MM.YYYY HH:MM:SS\"");
        }
      } else if (name == "--config-dir") {
        config_dir = *v;
      } else if (*v == "de") {
        options.german_formats = true;
      } else {
        return fail("lcr: unsupported locale '" + *v + "' (only 'de' can be forced)");
      }
    } else {
      return fail("lcr: unknown option " + name);
    }
  }
  if (options.help) return options;
  if (!seconds) return fail("lcr: the duration in seconds is missing");
  options.seconds = *seconds;

  if (!config_dir) config_dir = XdgFolder(env, "XDG_CONFIG_HOME", ".config");
  if (!config_dir) return fail("lcr: no settings folder: HOME is not set; use --config-dir");
  options.config_dir = AbsoluteFolder(*config_dir);
  return options;
}

std::string LcrUsage() {
  return R"(velkora lcr SECONDS [--at "DD.MM.YYYY HH:MM:SS"] [--config-dir DIR]
            [--locale de] [--trace]

The what-if command of least-cost routing: which configured provider is
cheapest for a connection of SECONDS starting at the given local instant
(now by default), worked out by the same evaluation as the script functions
GetRasLCRName and GetRasLCRInfo from the least-cost-routing settings of
velkora.ini (sections [LCR] and [LCR <name>], or TK32's tk32.ini and tariff
files). SECONDS is read as a script's Dauer: below 1 counts as 1, above
86400 as 86400, and text that is no integer is the engine's error. It
writes nothing: where tk32.ini is not in TK32Pfad, the folder a search of
the disks finds is used for this run only (--trace names it). A relative
DIR or TK32Pfad is taken from the current folder.

Standard output, two lines:
  1  the cheapest provider's name (what GetRasLCRName returns)
  2  every provider as name:cost, joined by ";" (what GetRasLCRInfo returns)
Both lines are empty after an error.

Options:
  --at "DD.MM.YYYY HH:MM:SS"  the start of the connection (default: now)
  --config-dir DIR            folder of the settings file velkora.ini
                              (default $XDG_CONFIG_HOME/velkora or
                              ~/.config/velkora)
  --locale de                 German number, date and time formats
  --trace                     the evaluation's log lines, period by period,
                              to standard error (without timestamps)
The engine's error boxes go to standard error as "[caption] text".

Exit codes:
  0  a cheapest provider was determined
  1  none was (no provider configured, or an error in the configuration)
  2  bad command line
)";
}

}  // namespace velkora
