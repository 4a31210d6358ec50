#include "automation/method_table.h"

namespace velkora {
namespace {

using P = std::string_view;

constexpr P kFensterName[] = {"FensterName"};
constexpr P kIniValue[] = {"Datei", "Sektion", "Eintrag", "Wert"};
constexpr P kIniKey[] = {"Datei", "Sektion", "Eintrag"};
constexpr P kDauer[] = {"Dauer"};
constexpr P kDauerTrenner[] = {"Dauer", "Trenner"};
constexpr P kMusterTrenner[] = {"Muster", "Trenner"};
constexpr P kMusterTrennerAlle[] = {"Muster", "Trenner", "Alle"};
constexpr P kIniDateiSektionTrenner[] = {"IniDatei", "Sektion", "Trenner"};
constexpr P kDateiSektionTrenner[] = {"Datei", "Sektion", "Trenner"};
constexpr P kDateiTrenner[] = {"Datei", "Trenner"};
constexpr P kKey[] = {"Key"};

constexpr std::span<const P> kNone{};

// Interface order; the DISPIDs are not in this order and both are binding.
constexpr MethodInfo kMethods[kMethodCount] = {
    {"ShowInfo", 4, kNone, ResultKind::kNone},
    {"WindowExists", 5, kFensterName, ResultKind::kBoolean},
    {"CloseWindow", 1, kFensterName, ResultKind::kNone},
    {"GetRasConnection", 2, kNone, ResultKind::kText},
    {"IniWrite", 3, kIniValue, ResultKind::kNone},
    {"IniRead", 6, kIniValue, ResultKind::kVariant},
    {"IniDeleteKey", 7, kIniKey, ResultKind::kNone},
    {"GetRasLCRName", 8, kDauer, ResultKind::kText},
    {"GetRasLCRInfo", 9, kDauerTrenner, ResultKind::kText},
    {"WndGetList", 10, kMusterTrenner, ResultKind::kText},
    {"WndClose", 11, kMusterTrennerAlle, ResultKind::kText},
    {"RasClose", 12, kNone, ResultKind::kText},
    {"VelkoraVersion", 13, kNone, ResultKind::kText},
    {"IniReadSectionValues", 14, kIniDateiSektionTrenner, ResultKind::kText},
    {"IniReadSection", 16, kDateiSektionTrenner, ResultKind::kText},
    {"IniReadSections", 17, kDateiTrenner, ResultKind::kText},
    {"VelkoraIniname", 15, kNone, ResultKind::kText},
    {"GetPerfStats", 18, kKey, ResultKind::kInteger},
};

}  // namespace

std::span<const MethodInfo> MethodTable() { return kMethods; }

}  // namespace velkora
