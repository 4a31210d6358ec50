#include "server/startup.h"

#include <exception>
#include <memory>

#include "base/conversions.h"
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

StartSettings ReadStartSettings(ShellContext& shell) {
  StartSettings start;
  const bool schreibe_log = ReadFlag(shell, "SchreibeLog");
  start.testmodus = ReadFlag(shell, "Testmodus");
  if (start.testmodus || schreibe_log) {
    shell.schreibe_log = true;
    // Each run starts a fresh log; a file that cannot go is simply kept.
    FileSystem& files = shell.platform.Files();
    if (files.FileExists(shell.log_file)) (void)files.RemoveFile(shell.log_file);
  }
  start.unsichtbar = ReadFlag(shell, "Unsichtbar");
  WriteFlag(shell, "Testmodus", start.testmodus);
  WriteFlag(shell, "Unsichtbar", start.unsichtbar);
  WriteFlag(shell, "SchreibeLog", shell.schreibe_log);
  return start;
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

int RunServer(const ServerConfig& config, Platform& platform, TPerlre& perlre, HostHooks& hooks) {
  // The guard comes before anything else; a lock that cannot be made for
  // another reason than an existing one does not stop the start.
  LockResult lock_result = LockResult::kFailed;
  std::unique_ptr<NamedLock> lock =
      platform.Locks().Acquire(std::string(kInstanceLockName), lock_result);
  if (lock_result == LockResult::kAlreadyExists) return kExitOk;

  ShellContext shell{platform, config.settings_file, config.log_file, false};
  bool automation_entered = false;
  try {
    hooks.InstanceLockTaken();
    const StartSettings start = ReadStartSettings(shell);
    WriteStartLines(shell, config.params);

    automation_entered = true;
    if (std::optional<int> exit_code = hooks.InitializeAutomation(config.params)) {
      hooks.UninitializeAutomation();
      return *exit_code;
    }

    WriteLog(shell, "Application.CreateForm");
    THaupt haupt(shell, perlre, start, config.params);
    hooks.MainWindowCreated(haupt);

    WriteLog(shell, "Application.Run");
    hooks.RunMessageLoop(haupt);

    hooks.RevokeClassObjects();
    hooks.MainWindowDestroying(haupt);
    haupt.FormDestroy();
  } catch (const std::exception& e) {
    ShowError(platform.Boxes(), e.what());
    if (automation_entered) hooks.UninitializeAutomation();
    return kExitStartupError;
  }
  hooks.UninitializeAutomation();
  // Logging ends before the lock is released, so nothing is logged once a
  // new instance may start.
  shell.schreibe_log = false;
  shell.log_file.clear();
  shell.settings_file.clear();
  lock.reset();
  return kExitOk;
}

}  // namespace velkora
