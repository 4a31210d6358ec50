#include "hosts/win32/main_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkora::win32 {
namespace {

// "caption id flags" per item, "-" for a separator, submenus indented.
void Describe(HMENU menu, const std::string& indent, std::vector<std::string>& out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char caption[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = caption;
    info.cch = sizeof caption - 1;
    ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
    if (info.fType & MFT_SEPARATOR) {
      out.push_back(indent + "-");
      continue;
    }
    std::string line = indent + caption;
    if (info.hSubMenu == nullptr) line += " " + std::to_string(info.wID);
    if (info.fState & MFS_DEFAULT) line += " default";
    out.push_back(line);
    if (info.hSubMenu != nullptr) Describe(info.hSubMenu, indent + "  ", out);
  }
}

TEST(MainWindowMenus, CaptionsOrderAndCommands) {
  UniqueMenu menu = MakeMainMenu();
  std::vector<std::string> items;
  Describe(menu.get(), "", items);
  EXPECT_EQ(items, (std::vector<std::string>{
                       "&Datei", "  &Vordergrund 101", "  -", "  &Ende 102", "&Test", "  Info 103",
                       "  Version 104", "  Ininame 105", "  -", "  Fenster vorhanden 106",
                       "  Fenster Schließen 107", "  WndGetList 108", "  WndClose 109", "  -",
                       "  Verbindungsname 110", "  LCR 111"}));

  UniqueMenu tray = MakeTrayMenu();
  items.clear();
  Describe(tray.get(), "", items);
  EXPECT_EQ(items, (std::vector<std::string>{"&Info 112 default", "&Ende 113"}));
}

}  // namespace
}  // namespace velkora::win32
