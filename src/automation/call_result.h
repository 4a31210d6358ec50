#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "base/variant.h"

namespace velkora {

// Status codes of refused calls, as the platform's dispatch numbers them.
inline constexpr int32_t kDispUnknownName = static_cast<int32_t>(0x80020006u);
inline constexpr int32_t kDispMemberNotFound = static_cast<int32_t>(0x80020003u);
inline constexpr int32_t kDispBadParamCount = static_cast<int32_t>(0x8002000Eu);
inline constexpr int32_t kDispParamNotFound = static_cast<int32_t>(0x80020004u);

// The error a client receives for a refused or failed call.
struct AutomationError {
  std::string source;       // "ScriptFunctions.App" for errors of the server's code
  std::string description;  // the German message
  int32_t status = 0;       // a negative status code
};

// What a call gives its client.
struct CallResult {
  Variant value;                         // the result; empty for methods without one
  std::optional<AutomationError> error;  // set when the call was refused or failed
};

// A call refused before any of the server's code ran, as the client sees
// it: empty source and the platform's message for `status`.
AutomationError Refusal(int32_t status);

// The automation error for an error escaping a method: source
// "ScriptFunctions.App", the error's message, and E_UNEXPECTED or the
// error's own negative status. A failed allocation (std::bad_alloc), and
// any error whose texts cannot be copied for want of memory, is
// E_OUTOFMEMORY without source and description: the client's own text for
// the status says it, and nothing more can be built. This is the one place
// where an error becomes an automation status; it never raises, so handlers
// may call it.
AutomationError ToAutomationError(const std::exception& error) noexcept;

}  // namespace velkora
