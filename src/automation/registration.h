#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"
#include "platform/registry.h"
#include "server/startup.h"

// How the server registers its class, in which mode it was started and when
// it ends: the portable half of the automation server. The Windows host
// makes the system calls (CoRegisterClassObject, the type library); the
// decisions are here, where they are tested without it.
namespace velkora {

// How the process was started, from its command-line switches.
enum class StartMode { kNormal, kAutomation, kRegister, kUnregister };

// A parameter is a switch when it starts with "-" or "/" and the rest equals
// the switch name in any ASCII letter case. AUTOMATION or EMBEDDING win over
// REGSERVER, which wins over UNREGSERVER. `params` excludes the program path.
StartMode StartModeFromSwitches(std::span<const std::string> params);

// What a start in `mode` does when it meets a running instance: a start by
// COM waits for an instance that may be ending, a registration run does its
// registration beside it, a start by hand ends at once.
WhenRunning WhenRunningFor(StartMode mode);

// One key below the classes root and its default value.
struct RegistryEntry {
  std::string key;
  std::string value;
};

// The class keys in the order they are written. `server_path` is the full
// file name of the server; when it contains a blank, `short_server_path`
// (its 8.3 form) is registered instead. The system reads LocalServer32 as
// a command line, so a path that still has a blank (a file system without
// short names gives back the long path) is registered in double quotes.
std::vector<RegistryEntry> ClassRegistryEntries(const std::string& server_path,
                                                const std::string& short_server_path);

inline constexpr std::string_view kRegistryErrorText =
    "Fehler beim Erstellen eines Eintrages in die Systemregistrierung";

// Writes the entries in order; the first failure raises Error with
// kRegistryErrorText and the remaining entries are not written.
void WriteClassEntries(ClassesRegistry& registry, std::span<const RegistryEntry> entries);

// Deletes the entries' keys in reverse order; keys that are already gone
// are passed over.
void RemoveClassEntries(ClassesRegistry& registry, std::span<const RegistryEntry> entries);

// The registry part of an automation start: unregister mode removes the
// entries, every other mode writes them. A write failure is ignored in
// normal and automation mode (the class may already be registered by an
// administrator) and raised in register mode. Returns true when the process
// must end now with exit code 0 (register and unregister mode).
bool UpdateRegistry(StartMode mode, ClassesRegistry& registry,
                    std::span<const RegistryEntry> entries);

// The platform's count of references on the server process, where it has
// one (CoAddRefServerProcess / CoReleaseServerProcess).
class ServerProcessReference {
 public:
  virtual ~ServerProcessReference() = default;
  virtual uint32_t AddRef() = 0;
  // Returns the count left.
  virtual uint32_t Release() = 0;
};

// Live automation objects, and the decision to end when the last one goes.
//
// Thread safety: the main thread only. The server's objects live in its
// single-threaded apartment, so every creation, release and incoming call
// reaches the counter on that thread, one at a time.
class ObjectCounter {
 public:
  // `process_reference` may be null; it is only used in automation mode.
  explicit ObjectCounter(StartMode mode, ServerProcessReference* process_reference = nullptr)
      : mode_(mode), process_reference_(process_reference) {}
  ObjectCounter(const ObjectCounter&) = delete;
  ObjectCounter& operator=(const ObjectCounter&) = delete;

  void ObjectCreated();
  // True when the last object was released and the server, started for
  // automation, should set out to end (below).
  bool ObjectDestroyed();

  // An automation server ends in two steps after its last release, so that
  // no client is lost on the way. A client finds the class object some time
  // before its first call reaches the server; one that found it just before
  // the server went would otherwise fail.
  // 1. Withdraw, after a pause without objects: true when the class object
  //    is to be revoked now. New clients then start a new server, which
  //    waits for this one to end.
  // 2. DecideToEnd, after a second pause: true when no call came in
  //    meanwhile and no object lives. The server ends, and from then on
  //    hands out no objects (Ending).
  // CallCameIn, for every call that reaches the server: true when the class
  // object was withdrawn and is to be put back, because a client that found
  // it before is on its way; the server then serves as before, and a client
  // that gets an object keeps it running.
  bool Withdraw();
  bool CallCameIn();
  bool DecideToEnd();
  bool Withdrawn() const { return phase_ == Phase::kWithdrawn; }
  bool Ending() const { return phase_ == Phase::kEnding; }
  int32_t Count() const { return count_; }
  StartMode Mode() const { return mode_; }

 private:
  bool UsesProcessReference() const {
    return mode_ == StartMode::kAutomation && process_reference_ != nullptr;
  }

  enum class Phase { kServing, kWithdrawn, kEnding };

  StartMode mode_;
  ServerProcessReference* process_reference_;
  int32_t count_ = 0;
  Phase phase_ = Phase::kServing;
};

inline constexpr std::string_view kCloseQuestionCaption = "Warnung des COM-Servers";
inline constexpr std::string_view kCloseQuestionText =
    "Diese Anwendung enthält noch aktive COM-Objekte. Mindestens ein Client verweist noch auf "
    "diese Objekte so daß manuelles Schließen dieser Anwendung dazu führen könnte, daß die "
    "Client-Anwendungen nicht korrekt funktionieren.\r\n\r\nSind Sie sicher, daß Sie diese "
    "Anwendung schließen möchten?";

// Asked when a user ends the server: true when it may end. With live
// objects and a user to ask, a task-modal warning box with Yes/No (No the
// default) decides; otherwise the answer is yes without a box.
bool ConfirmClose(const ObjectCounter& objects, bool user_interactive, MessageBoxes& boxes);

}  // namespace velkora
