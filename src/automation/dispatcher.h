#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/method_table.h"
#include "base/variant.h"

namespace velkora {

// Status codes of refused calls.
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

struct CallResult {
  Variant value;                        // the result; empty for methods without one
  std::optional<AutomationError> error; // set when the call was refused or failed
};

class TApp;

// Late-bound calls by name or DISPID over the method table, for hosts that
// do not have the platform's type-information dispatch.
class Dispatcher {
 public:
  explicit Dispatcher(TApp& app) : app_(app) {}

  // The DISPID of a method name in any letter case.
  static std::optional<int32_t> IdOfName(std::string_view name);
  // The position of a parameter name (any case) of a method, for named arguments.
  static std::optional<int> ParamIndex(int32_t dispid, std::string_view param_name);
  static const MethodInfo* Find(int32_t dispid);

  // Calls a method with its arguments in declared order. An unknown DISPID
  // (kDispMemberNotFound) or a wrong count (kDispBadParamCount) is refused
  // before any of the server's code runs. Empty source for refusals.
  CallResult Invoke(int32_t dispid, std::span<const Variant> args);

  // The same by method name (any case); an unknown name is refused with
  // kDispUnknownName.
  CallResult InvokeByName(std::string_view name, std::span<const Variant> args);

  // An argument given by its parameter name.
  struct NamedArgument {
    std::string_view name;
    Variant value;
  };
  // Positional arguments first, then named ones in any order, each filling
  // its declared position. Refused before any handler runs: an unknown
  // DISPID (kDispMemberNotFound), an unknown parameter name
  // (kDispUnknownName), a position given twice (kDispParamNotFound), a total
  // different from the parameter count (kDispBadParamCount).
  CallResult InvokeNamed(int32_t dispid, std::span<const Variant> positional,
                         std::span<const NamedArgument> named);

  // A refusal as the client sees it: empty source, the platform's message.
  static CallResult Refusal(int32_t status);

 private:
  TApp& app_;
};

}  // namespace velkora
