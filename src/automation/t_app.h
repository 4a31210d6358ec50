#pragma once

#include <cstdint>
#include <exception>
#include <span>
#include <string>

#include "automation/dispatcher.h"
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

  // The one entry point of the hosts. `args` are in declared order.
  // - Every argument of the method's table row is made text first (all of
  //   them before the operation runs): text as it is, anything else with the
  //   platform's variant rules in the locale's formats, a by-reference
  //   variant followed; arrays, objects, Null and error values fail with
  //   "Ungültige Variant-Typumwandlung". `Wert` of IniWrite/IniRead is passed
  //   on exactly as given, a by-reference variant still by reference.
  // - The result takes the method's result kind; methods without one give
  //   an empty value.
  // - An escaping error becomes AutomationError{"ScriptFunctions.App",
  //   message, E_UNEXPECTED or the error's own negative status}.
  // An unknown DISPID or a wrong argument count is refused like the
  // dispatcher does, without running anything.
  CallResult Call(int32_t dispid, std::span<const Variant> args);

 private:
  Variant Run(int32_t dispid, std::span<const Variant> args);

  THaupt& haupt_;
  const Locale& locale_;
};

// An argument as 8-bit text (see TApp::Call).
std::string ArgumentText(const Variant& arg, const FormatSettings& fs);

// The automation error a client receives for an error escaping a method.
AutomationError ToAutomationError(const std::exception& error);

}  // namespace velkora
