#include "automation/call_result.h"

#include <new>

#include "automation/method_table.h"
#include "base/error.h"

namespace velkora {

AutomationError Refusal(int32_t status) {
  // The texts the platform's dispatch gives for these codes.
  std::string description;
  switch (status) {
    case kDispUnknownName: description = "Unbekannter Name."; break;
    case kDispMemberNotFound: description = "Mitglied nicht gefunden."; break;
    case kDispBadParamCount: description = "Ungültige Anzahl Parameter."; break;
    case kDispParamNotFound: description = "Parameter nicht gefunden."; break;
    default: break;
  }
  return AutomationError{"", std::move(description), status};
}

AutomationError ToAutomationError(const std::exception& error) noexcept {
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
    return AutomationError{{}, {}, kStatusOutOfMemory};
  }
  int32_t status = kStatusUnexpected;
  if (const auto* own = dynamic_cast<const Error*>(&error); own && own->Status() < 0) {
    status = own->Status();
  }
  try {
    return AutomationError{std::string(kProgId), error.what(), status};
  } catch (...) {
    return AutomationError{{}, {}, kStatusOutOfMemory};
  }
}

}  // namespace velkora
