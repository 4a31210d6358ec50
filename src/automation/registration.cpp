#include "automation/registration.h"

#include "automation/method_table.h"
#include "base/ascii.h"
#include "base/error.h"

namespace velkora {
namespace {

bool IsSwitch(std::string_view param, std::string_view name) {
  if (param.empty() || (param[0] != '-' && param[0] != '/')) return false;
  return EqualsIgnoreAsciiCase(param.substr(1), name);
}

bool HasSwitch(std::span<const std::string> params, std::string_view name) {
  for (const std::string& p : params) {
    if (IsSwitch(p, name)) return true;
  }
  return false;
}

}  // namespace

StartMode StartModeFromSwitches(std::span<const std::string> params) {
  if (HasSwitch(params, "AUTOMATION") || HasSwitch(params, "EMBEDDING")) {
    return StartMode::kAutomation;
  }
  if (HasSwitch(params, "REGSERVER")) return StartMode::kRegister;
  if (HasSwitch(params, "UNREGSERVER")) return StartMode::kUnregister;
  return StartMode::kNormal;
}

WhenRunning WhenRunningFor(StartMode mode) {
  switch (mode) {
    case StartMode::kAutomation: return WhenRunning::kWait;
    case StartMode::kRegister:
    case StartMode::kUnregister: return WhenRunning::kRegisterOnly;
    case StartMode::kNormal: break;
  }
  return WhenRunning::kEnd;
}

std::vector<RegistryEntry> ClassRegistryEntries(const std::string& server_path,
                                                const std::string& short_server_path) {
  const std::string clsid_key = "CLSID\\" + std::string(kClsid);
  const std::string prog_id(kProgId);
  const std::string description(kClassDescription);
  const auto has_blank = [](const std::string& path) {
    return path.find(' ') != std::string::npos;
  };
  std::string local_server = has_blank(server_path) ? short_server_path : server_path;
  // Unquoted, C:\Program Files\... would start C:\Program.exe.
  if (has_blank(local_server)) local_server = '"' + local_server + '"';
  return {
      {clsid_key, description},
      {clsid_key + "\\LocalServer32", local_server},
      {prog_id, description},
      {prog_id + "\\Clsid", std::string(kClsid)},
      {clsid_key + "\\ProgID", prog_id},
      {clsid_key + "\\Version", "1.0"},
      {clsid_key + "\\TypeLib", std::string(kLibId)},
  };
}

void WriteClassEntries(ClassesRegistry& registry, std::span<const RegistryEntry> entries) {
  for (const RegistryEntry& e : entries) {
    if (!registry.SetDefaultValue(e.key, e.value)) throw Error(std::string(kRegistryErrorText));
  }
}

void RemoveClassEntries(ClassesRegistry& registry, std::span<const RegistryEntry> entries) {
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    (void)registry.DeleteKey(it->key);
  }
}

bool UpdateRegistry(StartMode mode, ClassesRegistry& registry,
                    std::span<const RegistryEntry> entries) {
  switch (mode) {
    case StartMode::kUnregister: RemoveClassEntries(registry, entries); return true;
    case StartMode::kRegister: WriteClassEntries(registry, entries); return true;
    case StartMode::kNormal:
    case StartMode::kAutomation: try { WriteClassEntries(registry, entries);
      } catch (const Error&) {
        // Without rights below the classes root the server still serves
        // clients whose entries an administrator made.
      }
      return false;
  }
  return false;
}

void ObjectCounter::ObjectCreated() {
  ++count_;
  if (UsesProcessReference()) process_reference_->AddRef();
}

bool ObjectCounter::ObjectDestroyed() {
  const int32_t left = --count_;
  const bool last = UsesProcessReference() ? process_reference_->Release() == 0 : left == 0;
  return last && mode_ == StartMode::kAutomation;
}

bool ObjectCounter::Withdraw() {
  if (count_ > 0 || phase_ != Phase::kServing) return false;
  phase_ = Phase::kWithdrawn;
  return true;
}

bool ObjectCounter::CallCameIn() {
  if (phase_ != Phase::kWithdrawn) return false;
  phase_ = Phase::kServing;
  return true;
}

bool ObjectCounter::DecideToEnd() {
  if (count_ > 0 || phase_ != Phase::kWithdrawn) return false;
  phase_ = Phase::kEnding;
  return true;
}

bool ConfirmClose(const ObjectCounter& objects, bool user_interactive, MessageBoxes& boxes) {
  if (objects.Count() <= 0 || !user_interactive) return true;
  const BoxResult answer =
      boxes.Show(std::string(kCloseQuestionText), std::string(kCloseQuestionCaption),
                 BoxIcon::kWarning, BoxButtons::kYesNo, /*default_no=*/true, /*task_modal=*/true);
  return answer == BoxResult::kYes;
}

}  // namespace velkora
