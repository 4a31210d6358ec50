#include "hosts/posix/lcr_what_if.h"

#include <optional>
#include <string_view>

#include "hosts/posix/lcr_command.h"
#include "lcr/ranking.h"
#include "platform/posix/posix_platform.h"
#include "regex/perlre.h"
#include "shell/log.h"
#include "shell/script_frame.h"

namespace velkora {
namespace {

// The instant the user plans for, standing still for the whole evaluation.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime at) : at_(at) {}
  DateTime Now() const override { return at_; }

 private:
  DateTime at_;
};

}  // namespace

int RunLcrCommand(const std::vector<std::string>& args, HostStreams streams, const EnvLookup& env) {
  LcrCommandResult parsed = ParseLcrCommand(args, env);
  if (!parsed) {
    streams.err << "velkora: " << parsed.error() << "\nTry 'velkora lcr --help'.\n";
    return kExitUsage;
  }
  const LcrCommandOptions& options = *parsed;
  if (options.help) {
    streams.out << LcrUsage();
    return 0;
  }

  posix::PosixPlatform platform({.box_stream = streams.err,
                                 .env = env,
                                 .german_formats = options.german_formats,
                                 .ini_folder = options.config_dir});
  std::optional<FixedClock> fixed;
  if (options.at) fixed.emplace(*options.at);
  Clock& clock = fixed ? static_cast<Clock&>(*fixed) : platform.SystemClock();

  const std::string settings_file = options.config_dir + "/velkora.ini";
  // The frame only has to exist: one evaluation writes no call or result
  // line, and the log file stays untouched.
  ShellContext shell{platform, settings_file, "", false};
  ScriptFrame frame(shell);
  TPerlre perlre(true, kPerlreCaseless);
  LcrServices services{platform.IniFiles(),
                       settings_file,
                       clock,
                       platform.UserLocale(),
                       platform.Files(),
                       platform.Boxes(),
                       perlre,
                       frame,
                       nullptr};
  // A what-if writes nothing into the configuration it is given: a folder
  // a disk search finds for tk32.ini serves this evaluation only (--trace
  // names it).
  services.store_found_tk32_folder = false;
  if (options.trace) {
    // The log's entries without their timestamps, which would all show the
    // same instant; each period names its own.
    services.log = [&streams](std::string_view text) {
      streams.err << EscapeLineBreaks(text) << '\n';
    };
  }

  std::string name;
  std::string list;
  const bool found = VerbindungskostenAuswerten(services, options.seconds, name, list, ";");
  streams.out << name << '\n' << list << '\n' << std::flush;
  return found ? 0 : 1;
}

}  // namespace velkora
