#include "automation/t_app.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "server/haupt.h"

namespace velkora {
namespace {

// A method's arguments as its operation takes them: text for every
// parameter but the one its row hands on as given.
struct Arguments {
  std::array<std::string, MostParams()> text;
  const Variant* as_given = nullptr;
};

// Argument `I` of method `Id` in the form the method's row asks for.
template <int32_t Id, std::size_t I>
const auto& Argument(const Arguments& args) {
  if constexpr (kMethods[RowOf(Id)].as_given == static_cast<int>(I)) {
    return *args.as_given;
  } else {
    return args.text[I];
  }
}

using Handler = Variant (*)(THaupt& haupt, const Arguments& args);

// Calls `Operation` with the arguments of method `Id` and makes what it
// returns a value of the row's result kind. A row and an operation that
// disagree (the number of parameters, the one handed on as given, the kind
// of result) do not compile.
template <int32_t Id, auto Operation>
Variant Run(THaupt& haupt, const Arguments& args) {
  static_assert(RowOf(Id) < kMethodCount, "a DISPID without a row in the method table");
  constexpr const MethodInfo& method = kMethods[RowOf(Id)];
  const auto call = [&]<std::size_t... I>(std::index_sequence<I...>) {
    return (haupt.*Operation)(Argument<Id, I>(args)...);
  };
  constexpr auto all = std::make_index_sequence<method.params.size()>{};
  using Result = decltype(call(all));
  if constexpr (method.result == ResultKind::kNone) {
    static_assert(std::is_void_v<Result>, "the row says the method has no result");
    call(all);
    return Variant();
  } else if constexpr (method.result == ResultKind::kBoolean) {
    static_assert(std::is_same_v<Result, bool>, "the row says Boolean");
    return Variant::Bool(call(all));
  } else if constexpr (method.result == ResultKind::kText) {
    static_assert(std::is_same_v<Result, std::string>, "the row says text");
    return Variant::Text(call(all));
  } else if constexpr (method.result == ResultKind::kInteger) {
    static_assert(std::is_same_v<Result, int32_t>, "the row says a 32-bit integer");
    return Variant::I4(call(all));
  } else {
    // Text results stay text; every other type passes as it is.
    static_assert(std::is_same_v<Result, Variant>, "the row says the operation's own variant");
    return call(all);
  }
}

struct Binding {
  int32_t dispid;
  Handler run;
};

template <int32_t Id, auto Operation>
constexpr Binding Bind() {
  return {Id, &Run<Id, Operation>};
}

// The operation of THaupt that each method calls.
constexpr Binding kBindings[] = {
    Bind<dispid::kShowInfo, &THaupt::ShowInfo>(),
    Bind<dispid::kWindowExists, &THaupt::WindowExists>(),
    Bind<dispid::kCloseWindow, &THaupt::CloseWindow>(),
    Bind<dispid::kGetRasConnection, &THaupt::GetRasConnection>(),
    Bind<dispid::kIniWrite, &THaupt::IniWrite>(),
    Bind<dispid::kIniRead, &THaupt::IniRead>(),
    Bind<dispid::kIniDeleteKey, &THaupt::IniDeleteKey>(),
    Bind<dispid::kGetRasLCRName, &THaupt::GetRasLCRName>(),
    Bind<dispid::kGetRasLCRInfo, &THaupt::GetRasLCRInfo>(),
    Bind<dispid::kWndGetList, &THaupt::WndGetList>(),
    Bind<dispid::kWndClose, &THaupt::WndClose>(),
    Bind<dispid::kRasClose, &THaupt::RasClose>(),
    Bind<dispid::kVelkoraVersion, &THaupt::VelkoraVersion>(),
    Bind<dispid::kIniReadSectionValues, &THaupt::IniReadSectionValues>(),
    Bind<dispid::kIniReadSection, &THaupt::IniReadSection>(),
    Bind<dispid::kIniReadSections, &THaupt::IniReadSections>(),
    Bind<dispid::kVelkoraIniname, &THaupt::VelkoraIniname>(),
    Bind<dispid::kGetPerfStats, &THaupt::GetPerfStats>(),
};

constexpr Handler HandlerOf(int32_t dispid) {
  for (const Binding& binding : kBindings) {
    if (binding.dispid == dispid) return binding.run;
  }
  return nullptr;
}

constexpr bool EveryMethodHasOneOperation() {
  for (const MethodInfo& m : MethodTable()) {
    int found = 0;
    for (const Binding& binding : kBindings) found += binding.dispid == m.dispid ? 1 : 0;
    if (found != 1) return false;
  }
  return std::size(kBindings) == MethodTable().size();
}
static_assert(EveryMethodHasOneOperation(), "every row of the method table calls one operation");

}  // namespace

std::string ArgumentText(const Variant& arg, const FormatSettings& fs) {
  const Variant& v = arg.Deref();
  if (v.Type() == kVtBstr) return v.AsText();
  return VariantToText(v, fs);
}

CallResult TApp::Call(const MethodInfo& method, std::span<const Variant> args) {
  assert(args.size() == method.params.size());
  CallResult result;
  try {
    // Every argument is converted before the operation runs, so a refused
    // argument leaves no trace in the log or the status line.
    const FormatSettings fs = locale_.Formats();
    Arguments converted;
    for (std::size_t i = 0; i < method.params.size(); ++i) {
      if (static_cast<int>(i) == method.as_given) {
        converted.as_given = &args[i];
      } else {
        converted.text[i] = ArgumentText(args[i], fs);
      }
    }
    result.value = HandlerOf(method.dispid)(haupt_, converted);
  } catch (const std::exception& e) {
    result.value = Variant();
    result.error = ToAutomationError(e);
  }
  return result;
}

}  // namespace velkora
