#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "automation/call_result.h"
#include "automation/method_table.h"
#include "base/variant.h"

namespace velkora {

// An argument given by its parameter name (`Sektion:="Fenster"`).
struct NamedArgument {
  std::string_view name;
  Variant value;
};

// A late-bound call resolved against the method table: its method and its
// arguments in declared order, or the refusal the client gets instead.
struct ResolvedCall {
  const MethodInfo* method = nullptr;  // null when refused
  std::vector<Variant> args;
  AutomationError refusal;  // set when method is null
};

// Resolves names, DISPIDs and named arguments over the method table, for
// every caller that has no type information of its own to do it: the POSIX
// host resolves each call line here, the COM host its vtable entries (at
// compile time). It checks a call once, before any of the server's code
// runs, and runs nothing itself: TApp carries out what it accepts.
class Dispatcher {
 public:
  // The row of a DISPID; null for an unknown one.
  static constexpr const MethodInfo* Find(int32_t dispid) {
    const std::size_t row = RowOf(dispid);
    return row < kMethodCount ? &kMethods[row] : nullptr;
  }
  // The DISPID of a method name in any ASCII letter case.
  static std::optional<int32_t> IdOfName(std::string_view name);
  // The position of a parameter name (any case) of a method, for named
  // arguments.
  static std::optional<int> ParamIndex(int32_t dispid, std::string_view param_name);

  // Positional arguments first, then named ones in any order, each filling
  // its declared position. Refused: an unknown name (kDispUnknownName) or
  // DISPID (kDispMemberNotFound), an unknown parameter name
  // (kDispUnknownName), a position given twice (kDispParamNotFound), a total
  // different from the parameter count (kDispBadParamCount).
  static ResolvedCall Resolve(std::string_view name, std::span<const Variant> positional,
                              std::span<const NamedArgument> named = {});
  static ResolvedCall Resolve(int32_t dispid, std::span<const Variant> positional,
                              std::span<const NamedArgument> named = {});
};

}  // namespace velkora
