#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velkora {

// What a method hands back in `Ergebnis`.
enum class ResultKind {
  kNone,     // no Ergebnis: a call gives an empty result
  kBoolean,  // VT_BOOL
  kText,     // VT_BSTR
  kInteger,  // VT_I4
  kVariant,  // the operation's own variant (IniRead)
};

// No parameter of the method is handed on as the caller gave it.
inline constexpr int kNoParamAsGiven = -1;

// One method of the dispatch interface and every rule that belongs to it.
struct MethodInfo {
  std::string_view name;
  int32_t dispid;
  std::span<const std::string_view> params;
  ResultKind result;
  // The parameter handed to the operation exactly as the caller gave it (a
  // by-reference variant still by reference: its type code decides what
  // the INI functions do), or kNoParamAsGiven. Every other parameter is
  // converted to text before the operation runs.
  int as_given = kNoParamAsGiven;
};

// DISPIDs of the methods. They are binding for scripts and are not in the
// order of the interface.
namespace dispid {
inline constexpr int32_t kCloseWindow = 1;
inline constexpr int32_t kGetRasConnection = 2;
inline constexpr int32_t kIniWrite = 3;
inline constexpr int32_t kShowInfo = 4;
inline constexpr int32_t kWindowExists = 5;
inline constexpr int32_t kIniRead = 6;
inline constexpr int32_t kIniDeleteKey = 7;
inline constexpr int32_t kGetRasLCRName = 8;
inline constexpr int32_t kGetRasLCRInfo = 9;
inline constexpr int32_t kWndGetList = 10;
inline constexpr int32_t kWndClose = 11;
inline constexpr int32_t kRasClose = 12;
inline constexpr int32_t kVelkoraVersion = 13;
inline constexpr int32_t kIniReadSectionValues = 14;
inline constexpr int32_t kVelkoraIniname = 15;
inline constexpr int32_t kIniReadSection = 16;
inline constexpr int32_t kIniReadSections = 17;
inline constexpr int32_t kGetPerfStats = 18;
}  // namespace dispid

// Parameter lists, shared by the methods that have the same one.
namespace params {
inline constexpr std::string_view kFensterName[] = {"FensterName"};
inline constexpr std::string_view kIniValue[] = {"Datei", "Sektion", "Eintrag", "Wert"};
inline constexpr std::string_view kIniKey[] = {"Datei", "Sektion", "Eintrag"};
inline constexpr std::string_view kDauer[] = {"Dauer"};
inline constexpr std::string_view kDauerTrenner[] = {"Dauer", "Trenner"};
inline constexpr std::string_view kMusterTrenner[] = {"Muster", "Trenner"};
inline constexpr std::string_view kMusterTrennerAlle[] = {"Muster", "Trenner", "Alle"};
inline constexpr std::string_view kIniDateiSektionTrenner[] = {"IniDatei", "Sektion", "Trenner"};
inline constexpr std::string_view kDateiSektionTrenner[] = {"Datei", "Sektion", "Trenner"};
inline constexpr std::string_view kDateiTrenner[] = {"Datei", "Trenner"};
inline constexpr std::string_view kKey[] = {"Key"};
inline constexpr std::span<const std::string_view> kNone{};
// Wert, the fourth parameter of the INI value functions.
inline constexpr int kWert = 3;
}  // namespace params

inline constexpr int kMethodCount = 18;

// The dispatch interface's methods in vtable order: the one source of truth
// for the dispatcher, TApp, the hosts and the type library check.
inline constexpr MethodInfo kMethods[kMethodCount] = {
    {"ShowInfo", dispid::kShowInfo, params::kNone, ResultKind::kNone},
    {"WindowExists", dispid::kWindowExists, params::kFensterName, ResultKind::kBoolean},
    {"CloseWindow", dispid::kCloseWindow, params::kFensterName, ResultKind::kNone},
    {"GetRasConnection", dispid::kGetRasConnection, params::kNone, ResultKind::kText},
    {"IniWrite", dispid::kIniWrite, params::kIniValue, ResultKind::kNone, params::kWert},
    {"IniRead", dispid::kIniRead, params::kIniValue, ResultKind::kVariant, params::kWert},
    {"IniDeleteKey", dispid::kIniDeleteKey, params::kIniKey, ResultKind::kNone},
    {"GetRasLCRName", dispid::kGetRasLCRName, params::kDauer, ResultKind::kText},
    {"GetRasLCRInfo", dispid::kGetRasLCRInfo, params::kDauerTrenner, ResultKind::kText},
    {"WndGetList", dispid::kWndGetList, params::kMusterTrenner, ResultKind::kText},
    {"WndClose", dispid::kWndClose, params::kMusterTrennerAlle, ResultKind::kText},
    {"RasClose", dispid::kRasClose, params::kNone, ResultKind::kText},
    {"VelkoraVersion", dispid::kVelkoraVersion, params::kNone, ResultKind::kText},
    {"IniReadSectionValues", dispid::kIniReadSectionValues, params::kIniDateiSektionTrenner,
     ResultKind::kText},
    {"IniReadSection", dispid::kIniReadSection, params::kDateiSektionTrenner, ResultKind::kText},
    {"IniReadSections", dispid::kIniReadSections, params::kDateiTrenner, ResultKind::kText},
    {"VelkoraIniname", dispid::kVelkoraIniname, params::kNone, ResultKind::kText},
    {"GetPerfStats", dispid::kGetPerfStats, params::kKey, ResultKind::kInteger},
};

constexpr std::span<const MethodInfo> MethodTable() { return kMethods; }

// The position of a DISPID's row in kMethods; kMethodCount for a DISPID
// without one. An index rather than a pointer, so that compile-time checks
// need not compare addresses (which sanitizer builds do not allow there).
constexpr std::size_t RowOf(int32_t dispid) {
  for (std::size_t i = 0; i < kMethodCount; ++i) {
    if (kMethods[i].dispid == dispid) return i;
  }
  return kMethodCount;
}

// The most arguments any method takes.
constexpr std::size_t MostParams() {
  std::size_t most = 0;
  for (const MethodInfo& m : kMethods) most = m.params.size() > most ? m.params.size() : most;
  return most;
}

// Identity of the type library, interface and class.
inline constexpr std::string_view kLibraryName = "ScriptFunctions";
inline constexpr std::string_view kProgId = "ScriptFunctions.App";
inline constexpr std::string_view kLibId = "{48CBD5C0-7312-11D3-97E5-0080AD72B2B2}";
inline constexpr std::string_view kIid = "{1AF7107C-3DB3-4A63-9DD7-E1F9CC702D03}";
inline constexpr std::string_view kClsid = "{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}";
inline constexpr std::string_view kClassDescription = "App Objekt";

}  // namespace velkora
