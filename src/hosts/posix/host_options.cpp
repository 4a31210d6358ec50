#include "hosts/posix/host_options.h"

#include <filesystem>
#include <system_error>

#include "hosts/posix/lcr_command.h"

namespace velkora {

OptionArgument SplitOption(const std::string& arg) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string::npos) return {arg, std::nullopt};
  return {arg.substr(0, eq), arg.substr(eq + 1)};
}

std::optional<std::string> OptionValue(const OptionArgument& option,
                                       const std::vector<std::string>& args, std::size_t& i) {
  if (option.inline_value) return option.inline_value;
  if (i + 1 < args.size()) return args[++i];
  return std::nullopt;
}

std::string AbsoluteFolder(const std::string& folder) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
  if (error) return folder;
  std::string normal = absolute.lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

std::optional<std::string> XdgFolder(const EnvLookup& env, const char* variable,
                                     std::string_view fallback) {
  if (std::optional<std::string> base = env(variable);
      base && !base->empty() && (*base)[0] == '/') {
    return *base + "/velkora";
  }
  if (std::optional<std::string> home = env("HOME"); home && !home->empty()) {
    return *home + "/" + std::string(fallback) + "/velkora";
  }
  return std::nullopt;
}

HostOptionsResult ParseHostOptions(const std::vector<std::string>& args, const EnvLookup& env) {
  HostOptions options;
  std::optional<std::string> config_dir;
  std::optional<std::string> state_dir;
  auto fail = [](std::string message) -> HostOptionsResult {
    return Unexpected(std::move(message));
  };

  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg.rfind("--", 0) != 0) break;

    const OptionArgument option = SplitOption(arg);
    const std::string& name = option.name;
    auto value = [&]() { return OptionValue(option, args, i); };
    auto flag = [&](bool& target) {
      target = true;
      return !option.inline_value;
    };

    if (name == "--help") {
      if (!flag(options.help)) return fail("option --help takes no value");
    } else if (name == "--version") {
      if (!flag(options.version)) return fail("option --version takes no value");
    } else if (name == "--json") {
      if (!flag(options.json)) return fail("option --json takes no value");
    } else if (name == "--config-dir" || name == "--state-dir" || name == "--locale") {
      std::optional<std::string> v = value();
      if (!v || v->empty()) return fail("option " + name + " needs a value");
      if (name == "--config-dir") {
        config_dir = *v;
      } else if (name == "--state-dir") {
        state_dir = *v;
      } else if (*v == "de") {
        options.german_formats = true;
      } else {
        return fail("unsupported locale '" + *v + "' (only 'de' can be forced)");
      }
    } else {
      return fail("unknown option " + name);
    }
  }
  options.parameters.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());

  if (!config_dir) config_dir = XdgFolder(env, "XDG_CONFIG_HOME", ".config");
  if (!state_dir) state_dir = XdgFolder(env, "XDG_STATE_HOME", ".local/state");
  if (!options.help && !options.version) {
    if (!config_dir) return fail("no settings folder: HOME is not set; use --config-dir");
    if (!state_dir) return fail("no log folder: HOME is not set; use --state-dir");
  }
  options.config_dir = config_dir ? AbsoluteFolder(*config_dir) : "";
  options.state_dir = state_dir ? AbsoluteFolder(*state_dir) : "";
  return options;
}

std::string HostUsage() {
  return R"(Usage: velkora [OPTION]... [--] [PARAMETER]...
       velkora lcr SECONDS [--at "DD.MM.YYYY HH:MM:SS"] [OPTION]...

Runs the script-functions server as a filter: every line on standard input is
one call, every call gets exactly one answer line on standard output.

Call lines are written like VBScript statements:
  VelkoraVersion()
  IniRead "/tmp/a.ini", "Sektion", "Eintrag", 0
  WndGetList("*", ";")
  IniRead(Datei:="/tmp/a.ini", Sektion:="S", Eintrag:="E", Wert:=ByRef(""))
Method names and keywords are matched in any letter case. Arguments:
  "text" ("" inside for a quote)   12  -5  &hFF  &hFFFF&   1.5  2e3
  True False Empty Null Nothing    #2026-12-07# #2026-12-07 09:15:02#
  Array(...)   CInt() CLng() CSng() CDbl() CCur() CByte()   ByRef(value)
  CLngLng() CDec()   a 64-bit integer and a decimal, every digit kept
Integers are typed as VBScript types them: Integer (VT_I2) when they fit 16
bits, else Long (VT_I4), else Double. ByRef(value) passes a by-reference
variant, as a script passes a variable. INI files named without a full path
lie in the settings folder (--config-dir). Blank lines and lines starting with
' or # are comments and get no answer.

Answers: the result as text (an empty line for an empty result); for a
refused or failed call "Fehler 0x<status>: <description>"; for a line that is
not a valid call "Syntaxfehler in Spalte <n>: <message>". Line breaks inside
an answer are written as \r and \n. Message boxes go to standard error as
"[caption] text" and count as answered with their default button.

Options:
  --json             answer with one JSON object per line:
                       {"value":"010103","type":"String","vt":8}
                       {"error":{"source":...,"description":...,"status":-2147418113,
                                 "status_hex":"0x8000FFFF"}}
                       {"syntax_error":{"column":7,"message":...}}
  --config-dir DIR   folder of the settings file velkora.ini
                     (default $XDG_CONFIG_HOME/velkora or ~/.config/velkora)
  --state-dir DIR    folder of the log file velkora.log
                     (default $XDG_STATE_HOME/velkora or ~/.local/state/velkora)
  --locale de        German number, date and time formats, whatever the
                     environment's locale (default: from LC_ALL/LC_*/LANG)
  --version          print the version and exit
  --help             print this text and exit

Only one instance runs at a time: a second one exits at once with code 0
without touching settings or log. The log is written when SchreibeLog=1 or
Testmodus=1 in section [Fenster] of velkora.ini.

Exit codes:
  0  end of input reached (the server shut down normally), --help, --version,
     or another instance is already running
  1  start-up failed (for example the settings file cannot be written)
  2  bad command line

)" + LcrUsage();
}

}  // namespace velkora
