#include "automation/call_result.h"

#include "automation/method_table.h"
#include "base/error.h"

namespace velkora {

AutomationError Refusal(int32_t status) {
  // The texts the platform's dispatch gives for these codes.
  std::string description;
  switch (status) {
    case kDispUnknownName:
      description = "Unbekannter Name.";
      break;
    case kDispMemberNotFound:
      description = "Mitglied nicht gefunden.";
      break;
    case kDispBadParamCount:
      description = "Ungültige Anzahl Parameter.";
      break;
    case kDispParamNotFound:
      description = "Parameter nicht gefunden.";
      break;
    default:
      break;
  }
  return AutomationError{"", std::move(description), status};
}

AutomationError ToAutomationError(const std::exception& error) {
  int32_t status = kStatusUnexpected;
  if (const auto* own = dynamic_cast<const Error*>(&error); own && own->Status() < 0) {
    status = own->Status();
  }
  return AutomationError{std::string(kProgId), error.what(), status};
}

}  // namespace velkora
