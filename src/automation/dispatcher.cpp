#include "automation/dispatcher.h"

#include <algorithm>

#include "automation/t_app.h"

namespace velkora {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::optional<int32_t> Dispatcher::IdOfName(std::string_view name) {
  for (const MethodInfo& m : MethodTable()) {
    if (SameName(m.name, name)) return m.dispid;
  }
  return std::nullopt;
}

std::optional<int> Dispatcher::ParamIndex(int32_t dispid, std::string_view param_name) {
  const MethodInfo* m = Find(dispid);
  if (!m) return std::nullopt;
  for (std::size_t i = 0; i < m->params.size(); ++i) {
    if (SameName(m->params[i], param_name)) return static_cast<int>(i);
  }
  return std::nullopt;
}

const MethodInfo* Dispatcher::Find(int32_t dispid) {
  for (const MethodInfo& m : MethodTable()) {
    if (m.dispid == dispid) return &m;
  }
  return nullptr;
}

CallResult Dispatcher::Refusal(int32_t status) {
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
  return CallResult{Variant(), AutomationError{"", std::move(description), status}};
}

CallResult Dispatcher::Invoke(int32_t dispid, std::span<const Variant> args) {
  const MethodInfo* m = Find(dispid);
  if (!m) return Refusal(kDispMemberNotFound);
  if (args.size() != m->params.size()) return Refusal(kDispBadParamCount);
  return app_.Call(dispid, args);
}

CallResult Dispatcher::InvokeByName(std::string_view name, std::span<const Variant> args) {
  const std::optional<int32_t> id = IdOfName(name);
  if (!id) return Refusal(kDispUnknownName);
  return Invoke(*id, args);
}

CallResult Dispatcher::InvokeNamed(int32_t dispid, std::span<const Variant> positional,
                                   std::span<const NamedArgument> named) {
  const MethodInfo* m = Find(dispid);
  if (!m) return Refusal(kDispMemberNotFound);
  std::vector<std::optional<int>> positions;
  for (const NamedArgument& arg : named) {
    positions.push_back(ParamIndex(dispid, arg.name));
    if (!positions.back()) return Refusal(kDispUnknownName);
  }
  if (positional.size() + named.size() != m->params.size()) return Refusal(kDispBadParamCount);
  std::vector<Variant> args(m->params.size());
  std::vector<bool> filled(m->params.size(), false);
  for (std::size_t i = 0; i < positional.size(); ++i) {
    args[i] = positional[i];
    filled[i] = true;
  }
  for (std::size_t i = 0; i < named.size(); ++i) {
    const auto at = static_cast<std::size_t>(*positions[i]);
    if (filled[at]) return Refusal(kDispParamNotFound);
    args[at] = named[i].value;
    filled[at] = true;
  }
  return app_.Call(dispid, args);
}

}  // namespace velkora
