#include "automation/dispatcher.h"

#include <algorithm>

#include "base/ascii.h"

namespace velkora {
namespace {

ResolvedCall Refused(int32_t status) {
  ResolvedCall call;
  call.refusal = Refusal(status);
  return call;
}

}  // namespace

std::optional<int32_t> Dispatcher::IdOfName(std::string_view name) {
  for (const MethodInfo& m : MethodTable()) {
    if (EqualsIgnoreAsciiCase(m.name, name)) return m.dispid;
  }
  return std::nullopt;
}

std::optional<int> Dispatcher::ParamIndex(int32_t dispid, std::string_view param_name) {
  const MethodInfo* m = Find(dispid);
  if (!m) return std::nullopt;
  for (std::size_t i = 0; i < m->params.size(); ++i) {
    if (EqualsIgnoreAsciiCase(m->params[i], param_name)) return static_cast<int>(i);
  }
  return std::nullopt;
}

ResolvedCall Dispatcher::Resolve(std::string_view name, std::span<const Variant> positional,
                                 std::span<const NamedArgument> named) {
  const std::optional<int32_t> id = IdOfName(name);
  if (!id) return Refused(kDispUnknownName);
  return Resolve(*id, positional, named);
}

ResolvedCall Dispatcher::Resolve(int32_t dispid, std::span<const Variant> positional,
                                 std::span<const NamedArgument> named) {
  const MethodInfo* m = Find(dispid);
  if (!m) return Refused(kDispMemberNotFound);
  std::vector<int> positions;
  for (const NamedArgument& arg : named) {
    const std::optional<int> at = ParamIndex(dispid, arg.name);
    if (!at) return Refused(kDispUnknownName);
    positions.push_back(*at);
  }
  if (positional.size() + named.size() != m->params.size()) return Refused(kDispBadParamCount);

  ResolvedCall call;
  call.args.assign(positional.begin(), positional.end());
  call.args.resize(m->params.size());
  std::vector<bool> filled(m->params.size(), false);
  std::fill_n(filled.begin(), positional.size(), true);
  for (std::size_t i = 0; i < named.size(); ++i) {
    const auto at = static_cast<std::size_t>(positions[i]);
    if (filled[at]) return Refused(kDispParamNotFound);
    call.args[at] = named[i].value;
    filled[at] = true;
  }
  call.method = m;
  return call;
}

}  // namespace velkora
