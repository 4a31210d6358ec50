#include "automation/t_app.h"

#include <array>

#include "base/error.h"
#include "server/haupt.h"

namespace velkora {
namespace {

// The most arguments any method takes.
constexpr std::size_t kMaxArgs = 4;

bool PassedUnconverted(int32_t dispid, std::size_t index) {
  return (dispid == dispid::kIniWrite || dispid == dispid::kIniRead) && index == 3;
}

}  // namespace

std::string ArgumentText(const Variant& arg, const FormatSettings& fs) {
  const Variant& v = arg.Deref();
  if (v.Type() == kVtBstr) return v.AsText();
  return VariantToText(v, fs);
}

AutomationError ToAutomationError(const std::exception& error) {
  int32_t status = kStatusUnexpected;
  if (const auto* own = dynamic_cast<const Error*>(&error); own && own->Status() < 0) {
    status = own->Status();
  }
  return AutomationError{std::string(kProgId), error.what(), status};
}

CallResult TApp::Call(int32_t dispid, std::span<const Variant> args) {
  const MethodInfo* method = Dispatcher::Find(dispid);
  if (!method) return Dispatcher::Refusal(kDispMemberNotFound);
  if (args.size() != method->params.size()) return Dispatcher::Refusal(kDispBadParamCount);
  CallResult result;
  try {
    result.value = Run(dispid, args);
  } catch (const std::exception& e) {
    result.value = Variant();
    result.error = ToAutomationError(e);
  }
  return result;
}

Variant TApp::Run(int32_t dispid, std::span<const Variant> args) {
  // Every argument is converted before the operation runs, so a refused
  // argument leaves no trace in the log or the status line.
  const FormatSettings fs = locale_.Formats();
  std::array<std::string, kMaxArgs> text;
  const Variant* wert = nullptr;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (PassedUnconverted(dispid, i)) {
      // As given, a by-reference variant included: its type code decides
      // how the INI functions treat it.
      wert = &args[i];
    } else {
      text[i] = ArgumentText(args[i], fs);
    }
  }

  THaupt& h = haupt_;
  switch (dispid) {
    case dispid::kShowInfo:
      h.ShowInfo();
      return Variant();
    case dispid::kWindowExists:
      return Variant::Bool(h.WindowExists(text[0]));
    case dispid::kCloseWindow:
      h.CloseWindow(text[0]);
      return Variant();
    case dispid::kGetRasConnection:
      return Variant::Text(h.GetRasConnection());
    case dispid::kIniWrite:
      h.IniWrite(text[0], text[1], text[2], *wert);
      return Variant();
    case dispid::kIniRead:
      // Text results stay text; every other type passes as it is.
      return h.IniRead(text[0], text[1], text[2], *wert);
    case dispid::kIniDeleteKey:
      h.IniDeleteKey(text[0], text[1], text[2]);
      return Variant();
    case dispid::kGetRasLCRName:
      return Variant::Text(h.GetRasLCRName(text[0]));
    case dispid::kGetRasLCRInfo:
      return Variant::Text(h.GetRasLCRInfo(text[0], text[1]));
    case dispid::kWndGetList:
      return Variant::Text(h.WndGetList(text[0], text[1]));
    case dispid::kWndClose:
      return Variant::Text(h.WndClose(text[0], text[1], text[2]));
    case dispid::kRasClose:
      return Variant::Text(h.RasClose());
    case dispid::kVelkoraVersion:
      return Variant::Text(h.VelkoraVersion());
    case dispid::kIniReadSectionValues:
      return Variant::Text(h.IniReadSectionValues(text[0], text[1], text[2]));
    case dispid::kIniReadSection:
      return Variant::Text(h.IniReadSection(text[0], text[1], text[2]));
    case dispid::kIniReadSections:
      return Variant::Text(h.IniReadSections(text[0], text[1]));
    case dispid::kVelkoraIniname:
      return Variant::Text(h.VelkoraIniname());
    case dispid::kGetPerfStats:
      return Variant::I4(h.GetPerfStats(text[0]));
    default:
      // Call() only gets here with a DISPID of the table.
      return Variant();
  }
}

}  // namespace velkora
