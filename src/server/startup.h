#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "regex/perlre.h"
#include "server/haupt.h"
#include "shell/shell_context.h"

namespace velkora {

// Name of the system-wide lock that keeps the server to one instance.
inline constexpr std::string_view kInstanceLockName = "Velkora_Kein_Mehrfach_Start";

// Exit codes of RunServer.
inline constexpr int kExitOk = 0;            // normal end, second instance, (un)registration run
inline constexpr int kExitStartupError = 1;  // an error escaped start-up or the loop; it was shown

struct ServerConfig {
  // The command line split into parameters, quotes removed; [0] is the full
  // path of the program. REQUIRES: not empty.
  std::vector<std::string> params;
  // The server's own settings file and its log (the log is only written
  // while logging is on).
  std::string settings_file;
  std::string log_file;
};

// What only the host can do during start-up and shutdown. Every hook runs
// on the main thread, in the order of the declarations.
class HostHooks {
 public:
  virtual ~HostHooks() = default;

  // Right after the single-instance lock was taken, before any settings
  // access: what a host may only do once it knows it is the one instance
  // (take up the type library, make the folders of settings and log). Must
  // show nothing.
  virtual void InstanceLockTaken() {}
  // Initialises the automation runtime and handles the registration
  // switches. A value ends the start-up here with that exit code (a
  // registration or unregistration run); nullopt goes on. An error that
  // escapes is reported like any other start-up error.
  virtual std::optional<int> InitializeAutomation(const std::vector<std::string>& params) = 0;
  // The main window object exists; the host may build its window around it.
  virtual void MainWindowCreated(THaupt& /*haupt*/) {}
  // Runs the message loop until the application is told to terminate.
  virtual void RunMessageLoop(THaupt& haupt) = 0;
  // Shutdown: withdraw the class factory; no more calls arrive after this.
  virtual void RevokeClassObjects() {}
  // Shutdown: the main window object is about to be destroyed.
  virtual void MainWindowDestroying(THaupt& /*haupt*/) {}
  // Shutdown: uninitialise the automation runtime. Also called when start-up
  // fails after InitializeAutomation was entered.
  virtual void UninitializeAutomation() {}
};

// Reads SchreibeLog and Testmodus, turns the log on (shell.schreibe_log;
// the previous run's file is deleted) when either is set, reads Unsichtbar
// and writes the three back in the order Testmodus, Unsichtbar,
// SchreibeLog. Raises the settings write error.
StartSettings ReadStartSettings(ShellContext& shell);

// The start lines up to "Application.Initialize".
void WriteStartLines(ShellContext& shell, const std::vector<std::string>& params);

// The whole life of the process: lock, settings, log, automation start,
// main window, message loop, shutdown. Returns the process's exit code. A
// second instance returns kExitOk at once without touching settings or log.
// An error escaping start-up is shown in an error box and gives
// kExitStartupError.
//
// `perlre` is the process's shared regular expression instance, which the
// host makes before anything else runs and keeps until the process ends.
int RunServer(const ServerConfig& config, Platform& platform, TPerlre& perlre, HostHooks& hooks);

}  // namespace velkora
