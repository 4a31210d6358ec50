#pragma once

#include <span>
#include <string>

#include "automation/call_result.h"
#include "automation/method_table.h"
#include "base/format_settings.h"
#include "base/variant.h"
#include "platform/locale.h"

namespace velkora {

class THaupt;

// The automation object behind "ScriptFunctions.App": converts the script's
// arguments, calls the main window object's operation of the same name,
// converts its result and turns every escaping error into an automation
// error. It holds no state; every instance works on the one THaupt.
class TApp {
 public:
  TApp(THaupt& haupt, const Locale& locale) : haupt_(haupt), locale_(locale) {}

  // Carries out one call of `method`, whose arguments are in declared order.
  // - Every argument but the method's as-given one is made text first (all
  //   of them before the operation runs): text as it is, anything else with
  //   the platform's variant rules in the locale's formats, a by-reference
  //   variant followed; arrays, objects, Null and error values fail with
  //   "Ungültige Variant-Typumwandlung". The as-given argument (Wert of
  //   IniWrite/IniRead) is passed on exactly as it came.
  // - The result takes the method's result kind; methods without one give
  //   an empty value.
  // - An escaping error becomes ToAutomationError of it.
  // REQUIRES: args.size() == method.params.size(). The call was checked by
  // whoever resolved it: the Dispatcher, or the platform's own dispatch
  // through the type information.
  CallResult Call(const MethodInfo& method, std::span<const Variant> args);

 private:
  THaupt& haupt_;
  const Locale& locale_;
};

// An argument as 8-bit text (see TApp::Call).
std::string ArgumentText(const Variant& arg, const FormatSettings& fs);

}  // namespace velkora
