#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "server/haupt.h"

namespace velkora {

// The commands of the main window's menus and of the tray menu; the values
// are the menu items' identifiers.
enum class MenuCommand : uint16_t {
  kVordergrund = 101,
  kEnde,
  kInfo,
  kVersion,
  kIniname,
  kWindowExists,
  kCloseWindow,
  kWndGetList,
  kWndClose,
  kVerbindungsname,
  kLcr,
  kTrayInfo,
  kTrayEnde,
};

struct MenuItem {
  std::string_view caption;  // "-" is a separator
  MenuCommand command{};
  bool check_item = false;    // carries a check mark (Vordergrund)
  bool default_item = false;  // shown in bold, run by a click on the icon
};

struct MenuBarEntry {
  std::string_view caption;
  std::span<const MenuItem> items;
};

// "&Datei" and "&Test", with their items in order.
std::span<const MenuBarEntry> MainMenu();
// The tray icon's popup menu: "&Info" and "&Ende".
std::span<const MenuItem> TrayMenu();

// The command of a menu item's identifier; none for any other identifier.
// The window also receives commands that no menu sent (the dialog manager
// turns Enter and Esc in an input line into IDOK and IDCANCEL): they must
// run nothing, least of all end the server.
std::optional<MenuCommand> MenuCommandFromId(uint32_t id);

// Runs the handler of a menu command. The two "&Ende" are the window's own
// (it closes, which may ask first) and return false; every other command
// runs its THaupt handler and returns true, and a value that is no command
// runs nothing and returns true. Errors of the handler escape.
bool RunMenuCommand(THaupt& haupt, MenuCommand command);

}  // namespace velkora
