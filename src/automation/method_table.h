#pragma once

#include <array>
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

struct MethodInfo {
  std::string_view name;
  int32_t dispid;
  std::span<const std::string_view> params;
  ResultKind result;
};

inline constexpr int kMethodCount = 18;

// The dispatch interface's methods in vtable order. The one source of truth
// for the dispatcher, the hosts and the type library check.
std::span<const MethodInfo> MethodTable();

// DISPIDs of the methods, for code that switches over them.
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

// Identity of the type library, interface and class.
inline constexpr std::string_view kLibraryName = "ScriptFunctions";
inline constexpr std::string_view kProgId = "ScriptFunctions.App";
inline constexpr std::string_view kLibId = "{48CBD5C0-7312-11D3-97E5-0080AD72B2B2}";
inline constexpr std::string_view kIid = "{1AF7107C-3DB3-4A63-9DD7-E1F9CC702D03}";
inline constexpr std::string_view kClsid = "{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}";
inline constexpr std::string_view kClassDescription = "App Objekt";

}  // namespace velkora
