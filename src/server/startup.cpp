#include "server/startup.h"

#include <exception>
#include <memory>

#include "base/conversions.h"
#include "base/error.h"
#include "shell/log.h"
#include "shell/script_frame.h"
#include "shell/settings.h"

namespace velkora {
namespace {

bool ReadFlag(ShellContext& shell, std::string_view key) {
  return ReadSetting(shell, kSectionFenster, key, Variant::Bool(false)).AsBool();
}

void WriteFlag(ShellContext& shell, std::string_view key, bool value) {
  WriteSetting(shell, kSectionFenster, key, Variant::Bool(value));
}

}  // namespace

StartSettingsRead ReadStartSettings(ShellContext& shell) {
  StartSettingsRead read;
  StartSettings& start = read.start;
  const bool schreibe_log = ReadFlag(shell, "SchreibeLog");
  start.testmodus = ReadFlag(shell, "Testmodus");
  if (start.testmodus || schreibe_log) {
    shell.schreibe_log = true;
    // Each run starts a fresh log. The old one is emptied rather than
    // deleted: the file keeps its permissions (an installation lets users
    // write the log in a folder where they may not create files). A file
    // that cannot be emptied is deleted; one that cannot go is kept.
    FileSystem& files = shell.platform.Files();
    if (files.FileExists(shell.log_file) && !files.EmptyFile(shell.log_file)) {
      (void)files.RemoveFile(shell.log_file);
    }
  }
  start.unsichtbar = ReadFlag(shell, "Unsichtbar");
  try {
    WriteFlag(shell, "Testmodus", start.testmodus);
    WriteFlag(shell, "Unsichtbar", start.unsichtbar);
    WriteFlag(shell, "SchreibeLog", shell.schreibe_log);
  } catch (const Error& e) {
    // The file is the same for all three: after the first failure the
    // others would fail too.
    read.write_error = e.what();
  }
  return read;
}

std::string StartSettingsNotWrittenLine(const std::string& write_error) {
  return "Starteinstellungen nicht gespeichert: " + write_error;
}

void WriteStartLines(ShellContext& shell, const std::vector<std::string>& params) {
  WriteLog(shell, "Start Velkora Version " + std::string(kVersion));
  WriteLog(shell, "Kommandozeileninformation");
  const std::size_t count = params.empty() ? 0 : params.size() - 1;
  WriteLog(shell, " Anzahl Parameter: " + IntToStr(static_cast<int64_t>(count)));
  for (std::size_t i = 0; i < params.size(); ++i) {
    WriteLog(shell, " Nummmer:" + IntToStr(static_cast<int64_t>(i)) + " Wert:<" + params[i] + ">");
  }
  WriteLog(shell, "Application.Initialize");
}

namespace {

// Ends the automation runtime on every way out of the scope that is about to
// enter it; made right before HostHooks::InitializeAutomation, so that a
// start that fails inside it is cleaned up too.
class AutomationSession {
 public:
  explicit AutomationSession(HostHooks& hooks) : hooks_(hooks) {}
  AutomationSession(const AutomationSession&) = delete;
  AutomationSession& operator=(const AutomationSession&) = delete;
  ~AutomationSession() { hooks_.UninitializeAutomation(); }

 private:
  HostHooks& hooks_;
};

// /RegServer or /UnregServer while an instance runs: the registration is
// done, settings and log are left to the running instance.
int RegisterBesideRunningInstance(const ServerConfig& config, Platform& platform,
                                  HostHooks& hooks) {
  try {
    AutomationSession automation(hooks);
    return hooks.InitializeAutomation(config.params).value_or(kExitOk);
  } catch (const std::exception& e) {
    ShowError(platform.Boxes(), e.what());
    return kExitStartupError;
  }
}

}  // namespace

int RunServer(const ServerConfig& config, Platform& platform, TPerlre& perlre, HostHooks& hooks) {
  // The guard comes before anything else; a lock that cannot be made for
  // another reason than an existing one does not stop the start.
  const std::string lock_name(kInstanceLockName);
  LockResult lock = config.when_running == WhenRunning::kWait
                        ? platform.Locks().AcquireWaiting(lock_name, config.lock_wait)
                        : platform.Locks().Acquire(lock_name);
  if (!lock && lock.error() == LockFailure::kAlreadyExists) {
    if (config.when_running == WhenRunning::kRegisterOnly) {
      return RegisterBesideRunningInstance(config, platform, hooks);
    }
    return kExitOk;
  }

  ShellContext shell{platform, config.settings_file, config.log_file, false};
  try {
    hooks.InstanceLockTaken();
    const StartSettingsRead read = ReadStartSettings(shell);
    WriteStartLines(shell, config.params);
    if (read.write_error) WriteLog(shell, StartSettingsNotWrittenLine(*read.write_error));

    // From here on every way out ends the automation runtime, after the
    // main window object is gone.
    AutomationSession automation(hooks);
    if (std::optional<int> exit_code = hooks.InitializeAutomation(config.params)) {
      return *exit_code;
    }

    WriteLog(shell, "Application.CreateForm");
    THaupt haupt(shell, perlre, read.start, config.params);
    hooks.MainWindowCreated(haupt);

    WriteLog(shell, "Application.Run");
    hooks.RunMessageLoop(haupt);

    hooks.RevokeClassObjects();
    hooks.MainWindowDestroying(haupt);
    haupt.FormDestroy();
  } catch (const std::exception& e) {
    ShowError(platform.Boxes(), e.what());
    return kExitStartupError;
  }
  // Logging ends before the lock is released, so nothing is logged once a
  // new instance may start.
  shell.schreibe_log = false;
  shell.log_file.clear();
  shell.settings_file.clear();
  if (lock) lock->reset();
  return kExitOk;
}

}  // namespace velkora
