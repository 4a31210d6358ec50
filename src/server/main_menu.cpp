#include "server/main_menu.h"

#include <array>

namespace velkora {
namespace {

constexpr MenuItem kSeparator{"-", MenuCommand{}};

constexpr std::array kDateiItems{
    MenuItem{"&Vordergrund", MenuCommand::kVordergrund, /*check_item=*/true},
    kSeparator,
    MenuItem{"&Ende", MenuCommand::kEnde},
};

constexpr std::array kTestItems{
    MenuItem{"Info", MenuCommand::kInfo},
    MenuItem{"Version", MenuCommand::kVersion},
    MenuItem{"Ininame", MenuCommand::kIniname},
    kSeparator,
    MenuItem{"Fenster vorhanden", MenuCommand::kWindowExists},
    MenuItem{"Fenster Schließen", MenuCommand::kCloseWindow},
    MenuItem{"WndGetList", MenuCommand::kWndGetList},
    MenuItem{"WndClose", MenuCommand::kWndClose},
    kSeparator,
    MenuItem{"Verbindungsname", MenuCommand::kVerbindungsname},
    MenuItem{"LCR", MenuCommand::kLcr},
};

constexpr std::array kMainMenu{
    MenuBarEntry{"&Datei", kDateiItems},
    MenuBarEntry{"&Test", kTestItems},
};

constexpr std::array kTrayItems{
    MenuItem{"&Info", MenuCommand::kTrayInfo, false, /*default_item=*/true},
    MenuItem{"&Ende", MenuCommand::kTrayEnde},
};

}  // namespace

std::span<const MenuBarEntry> MainMenu() { return kMainMenu; }

std::span<const MenuItem> TrayMenu() { return kTrayItems; }

std::optional<MenuCommand> MenuCommandFromId(uint32_t id) {
  if (id < static_cast<uint32_t>(MenuCommand::kVordergrund) ||
      id > static_cast<uint32_t>(MenuCommand::kTrayEnde)) {
    return std::nullopt;
  }
  return static_cast<MenuCommand>(id);
}

bool RunMenuCommand(THaupt& haupt, MenuCommand command) {
  switch (command) {
    case MenuCommand::kVordergrund: haupt.MenuDateiVordergrund(); return true;
    case MenuCommand::kEnde: return false;
    case MenuCommand::kInfo: haupt.MenuTestInfo(); return true;
    case MenuCommand::kVersion: haupt.Version1Click(); return true;
    case MenuCommand::kIniname: haupt.Ininame1Click(); return true;
    case MenuCommand::kWindowExists: haupt.MenuTestWindowExists(); return true;
    case MenuCommand::kCloseWindow: haupt.MenuTestCloseWindow(); return true;
    case MenuCommand::kWndGetList: haupt.WndGetList1Click(); return true;
    case MenuCommand::kWndClose: haupt.WndClose1Click(); return true;
    case MenuCommand::kVerbindungsname: haupt.MenuTestGetRasConnection(); return true;
    case MenuCommand::kLcr: haupt.MenuTestGetRasLCRName(); return true;
    case MenuCommand::kTrayInfo: haupt.TrayZeigeInfo(); return true;
    case MenuCommand::kTrayEnde: return false;
  }
  return true;
}

}  // namespace velkora
