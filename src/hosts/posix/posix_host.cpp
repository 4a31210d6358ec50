#include "hosts/posix/posix_host.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <string_view>

#include "automation/dispatcher.h"
#include "automation/t_app.h"
#include "hosts/posix/answer.h"
#include "hosts/posix/lcr_what_if.h"
#include "platform/posix/posix_platform.h"
#include "regex/perlre.h"
#include "server/haupt.h"
#include "server/startup.h"

namespace velkora {

namespace {

// Creates a folder and its missing parents, private to the user as the XDG
// rules ask for new folders. A failure shows later, when the settings file
// cannot be written, with the server's own message.
void MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string prefix = path.substr(0, slash);
    if (!prefix.empty() && ::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return;
    if (slash == std::string::npos) return;
  }
}

// The host's part of the process: the folders once the lock is ours, and a
// message loop that reads call lines until the input ends.
class StdinHost final : public HostHooks {
 public:
  StdinHost(const HostOptions& options, HostStreams streams, const Locale& locale)
      : options_(options), streams_(streams), locale_(locale) {}

  // A second instance never creates anything.
  void InstanceLockTaken() override {
    MakeFolders(options_.config_dir);
    MakeFolders(options_.state_dir);
  }

  std::optional<int> InitializeAutomation(const std::vector<std::string>&) override {
    return std::nullopt;
  }

  void RunMessageLoop(THaupt& haupt) override {
    const AnswerMode mode = options_.json ? AnswerMode::kJson : AnswerMode::kPlain;
    TApp app(haupt, locale_);
    std::string line;
    bool first_line = true;
    while (std::getline(streams_.in, line)) {
      // A call script saved by a Windows editor may start with a byte-order mark.
      if (first_line && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
      first_line = false;
      CallLineResult parsed = ParseCallLine(line);
      if (parsed && !*parsed) continue;  // a blank or comment line
      const std::string answer = parsed
                                     ? FormatAnswer(RunCall(app, **parsed), locale_.Formats(), mode)
                                     : FormatSyntaxError(parsed.error(), mode);
      // One line per call, flushed at once, so a script talking to the host
      // through a pipe gets each answer before it sends the next call.
      streams_.out << answer << '\n' << std::flush;
      // Nobody reads the answers any more: end as if the input had ended.
      if (!streams_.out) break;
    }
  }

 private:
  const HostOptions& options_;
  HostStreams streams_;
  const Locale& locale_;
};

}  // namespace

CallResult RunCall(TApp& app, const ParsedCall& call) {
  std::vector<Variant> positional;
  std::vector<NamedArgument> named;
  for (const CallArgument& arg : call.args) {
    if (arg.name) {
      named.push_back({*arg.name, arg.value});
    } else {
      positional.push_back(arg.value);
    }
  }
  ResolvedCall resolved = Dispatcher::Resolve(call.method, positional, named);
  if (!resolved.method) return CallResult{Variant(), std::move(resolved.refusal)};
  return app.Call(*resolved.method, resolved.args);
}

int RunPosixHost(const std::vector<std::string>& args, const std::string& executable,
                 HostStreams streams, const EnvLookup& env) {
  // The what-if command is a program of its own: no server, no lock, no log.
  if (!args.empty() && args.front() == "lcr") {
    return RunLcrCommand(std::vector<std::string>(args.begin() + 1, args.end()), streams, env);
  }
  HostOptionsResult parsed = ParseHostOptions(args, env);
  if (!parsed) {
    streams.err << "velkora: " << parsed.error() << "\nTry 'velkora --help'.\n";
    return kExitUsage;
  }
  const HostOptions& options = *parsed;
  if (options.help) {
    streams.out << HostUsage();
    return kExitOk;
  }
  if (options.version) {
    streams.out << "velkora " << kVersion << '\n';
    return kExitOk;
  }

  // INI files a script names without a full path lie beside the settings
  // file, whatever folder the host was started from.
  posix::PosixPlatform platform({.box_stream = streams.err,
                                 .env = env,
                                 .german_formats = options.german_formats,
                                 .ini_folder = options.config_dir});

  ServerConfig config;
  config.params.push_back(executable);
  config.params.insert(config.params.end(), options.parameters.begin(), options.parameters.end());
  config.settings_file = options.config_dir + "/velkora.ini";
  config.log_file = options.state_dir + "/velkora.log";

  // The process's one regular expression instance, shared by every user.
  TPerlre perlre(/*study=*/true, kPerlreCaseless);
  StdinHost host(options, streams, platform.UserLocale());
  return RunServer(config, platform, perlre, host);
}

}  // namespace velkora
