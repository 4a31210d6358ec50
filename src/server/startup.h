#pragma once

#include <chrono>
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

// What a start does when another process holds the instance lock.
enum class WhenRunning {
  // End at once with kExitOk, touching nothing: a second instance started
  // by hand.
  kEnd,
  // Wait up to ServerConfig::lock_wait for the lock, then start normally;
  // end like kEnd when it is still held. A start by COM: the instance it
  // meets may be in the middle of ending, after it stopped taking clients.
  kWait,
  // Only the registration: initialise the automation runtime and handle
  // the switches (InitializeAutomation), without the lock and without
  // settings or log, which belong to the running instance. /RegServer and
  // /UnregServer, which an installer runs whether or not a server is up.
  kRegisterOnly,
};

// How long a start by COM waits for an instance that is ending.
inline constexpr std::chrono::milliseconds kInstanceLockWait{5000};

struct ServerConfig {
  // The command line split into parameters, quotes removed; [0] is the full
  // path of the program. REQUIRES: not empty.
  std::vector<std::string> params;
  // The server's own settings file and its log (the log is only written
  // while logging is on).
  std::string settings_file;
  std::string log_file;
  WhenRunning when_running = WhenRunning::kEnd;
  std::chrono::milliseconds lock_wait = kInstanceLockWait;
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
  // escapes is reported like any other start-up error. For a registration
  // beside a running instance (WhenRunning::kRegisterOnly) it is the only
  // hook that runs before UninitializeAutomation, InstanceLockTaken
  // included.
  virtual std::optional<int> InitializeAutomation(const std::vector<std::string>& params) = 0;
  // The main window object exists; the host may build its window around it.
  virtual void MainWindowCreated(THaupt& /*haupt*/) {}
  // Runs the message loop until the application is told to terminate.
  virtual void RunMessageLoop(THaupt& haupt) = 0;
  // Shutdown: withdraw the class factory; no more calls arrive after this.
  virtual void RevokeClassObjects() {}
  // Shutdown: the main window object is about to be destroyed.
  virtual void MainWindowDestroying(THaupt& /*haupt*/) {}
  // Shutdown: uninitialise the automation runtime, after the main window
  // object is gone. Also called when start-up fails after
  // InitializeAutomation was entered (before the error is shown), and when
  // InitializeAutomation itself raised. Must not raise.
  virtual void UninitializeAutomation() {}
};

// The start settings as read, and why writing them back failed, if it did.
struct StartSettingsRead {
  StartSettings start;
  std::optional<std::string> write_error;  // the settings write error's message
};

// Reads SchreibeLog and Testmodus, turns the log on (shell.schreibe_log;
// the previous run's file is deleted) when either is set, reads Unsichtbar
// and writes the three back in the order Testmodus, Unsichtbar,
// SchreibeLog. A write that fails stops the write-back but not the start:
// the values read stand (a settings file in a folder the user may not
// change must not keep the server from serving scripts).
StartSettingsRead ReadStartSettings(ShellContext& shell);

// The log line that says the start settings could not be written back.
std::string StartSettingsNotWrittenLine(const std::string& write_error);

// The start lines up to "Application.Initialize".
void WriteStartLines(ShellContext& shell, const std::vector<std::string>& params);

// The whole life of the process: lock, settings, log, automation start,
// main window, message loop, shutdown. Returns the process's exit code. A
// start that meets a running instance does what config.when_running says;
// none of them touches settings or log. An error escaping start-up is shown
// in an error box and gives kExitStartupError.
//
// `perlre` is the process's shared regular expression instance, which the
// host makes before anything else runs and keeps until the process ends.
int RunServer(const ServerConfig& config, Platform& platform, TPerlre& perlre, HostHooks& hooks);

}  // namespace velkora
