#include "shell/tray_icon.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/error.h"
#include "fakes/fake_tray_shell.h"

namespace velkora {
namespace {

TEST(ApplicationTitle, NameUpToTheFirstPointWithTheRestInLowerCase) {
  EXPECT_EQ(ApplicationTitle("C:\\Tools\\VELKORA.EXE"), "Velkora");
  EXPECT_EQ(ApplicationTitle("C:\\Tools\\velkora.exe"), "velkora");
  EXPECT_EQ(ApplicationTitle("/opt/My.Server.exe"), "My");
  EXPECT_EQ(ApplicationTitle("C:\\a.b\\ZWEI.EXE"), "Zwei");
  EXPECT_EQ(ApplicationTitle(""), "");
}

class TrayIconTest : public ::testing::Test {
 protected:
  fakes::FakeTrayShell shell;
  std::unique_ptr<TTrayIcon> tray = std::make_unique<TTrayIcon>(shell, "Velkora");

  void MakeActive() {
    tray->SetActive(true);
    shell.calls.clear();
  }
};

TEST_F(TrayIconTest, RecordCarriesIconCallbackAndTitleAsTip) {
  const TrayIconRecord& r = tray->Record();
  EXPECT_EQ(r.flags, 7u);
  EXPECT_EQ(r.callback_message, 1025u);
  EXPECT_EQ(r.icon, 0x77u);
  EXPECT_EQ(r.tip, "Velkora");
  EXPECT_FALSE(tray->Active());
  EXPECT_FALSE(tray->IconShown());
  EXPECT_EQ(shell.calls, std::vector<std::string>{"CreateWindow"});

  TTrayIcon untitled(shell, "");
  EXPECT_EQ(untitled.Record().flags, 3u);
  EXPECT_EQ(untitled.Record().tip, "");
}

TEST_F(TrayIconTest, MinimiseHidesTheWindowAndShowsTheIconOnce) {
  MakeActive();
  tray->AppMinimize();
  tray->AppMinimize();
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"Hide", "Add", "Hide"}));
  EXPECT_TRUE(shell.icon_present);
  EXPECT_TRUE(tray->IconShown());
  EXPECT_TRUE(tray->AppMinimized());

  tray->AppRestore();
  EXPECT_FALSE(shell.icon_present);
  EXPECT_TRUE(shell.visible);
  EXPECT_FALSE(tray->AppMinimized());
}

TEST_F(TrayIconTest, SeparateIconStaysOnRestore) {
  MakeActive();
  tray->SetSeparateIcon(true);
  EXPECT_TRUE(shell.icon_present);
  tray->AppMinimize();
  tray->AppRestore();
  EXPECT_TRUE(shell.icon_present);
  EXPECT_EQ(shell.Count("Add"), 1);
  // Back to a plain icon while the application is shown: it goes.
  tray->SetSeparateIcon(false);
  EXPECT_FALSE(shell.icon_present);
}

TEST_F(TrayIconTest, DeactivatingRemovesTheIconAndStopsFollowingTheApplication) {
  MakeActive();
  tray->AppMinimize();
  tray->SetActive(false);
  EXPECT_FALSE(shell.icon_present);
  EXPECT_FALSE(tray->IconShown());
  shell.calls.clear();
  tray->AppRestore();
  tray->AppMinimize();
  EXPECT_TRUE(shell.calls.empty());
  // Active again while minimised: the icon comes back.
  tray->SetActive(true);
  EXPECT_TRUE(shell.icon_present);
}

TEST_F(TrayIconTest, RefusedIconRaisesAndTheNextMinimiseTriesAgain) {
  MakeActive();
  shell.refuse_add = true;
  try {
    tray->AppMinimize();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Cannot create shell notification icon");
  }
  EXPECT_FALSE(tray->IconShown());
  shell.refuse_add = false;
  tray->AppMinimize();
  EXPECT_TRUE(tray->IconShown());
  EXPECT_EQ(shell.Count("Add"), 2);
}

TEST_F(TrayIconTest, WithoutNotificationAreaOnlyTheWindowIsHiddenAndRestored) {
  shell.supported = false;
  TTrayIcon old(shell, "Velkora");
  old.SetActive(true);
  old.SetHint("x");
  old.AppMinimize();
  old.AppRestore();
  shell.calls.clear();
  old.AppMinimize();
  old.AppRestore();
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"Hide", "Restore"}));
  EXPECT_FALSE(old.IconShown());
}

TEST_F(TrayIconTest, HintIsCutTo63CharactersAndAnEmptyOneDropsTheTip) {
  MakeActive();
  tray->AppMinimize();
  const std::string long_hint(70, 'h');
  tray->SetHint(long_hint);
  EXPECT_EQ(shell.icon.tip, std::string(63, 'h'));
  EXPECT_EQ(shell.icon.flags & TrayIconRecord::kTipFlag, TrayIconRecord::kTipFlag);
  tray->SetHint("");
  EXPECT_EQ(shell.icon.tip, "");
  EXPECT_EQ(shell.icon.flags, 3u);
  shell.calls.clear();
  tray->SetHint("");  // unchanged: nothing to tell the shell
  EXPECT_TRUE(shell.calls.empty());

  tray->SetIcon(0x99);
  EXPECT_EQ(shell.icon.icon, 0x99u);
}

TEST_F(TrayIconTest, MouseEvents) {
  int clicks = 0, double_clicks = 0, menus = 0;
  std::vector<std::pair<int, int>> right_clicks;
  tray->OnClick([&] { ++clicks; });
  tray->OnDblClick([&] { ++double_clicks; });
  tray->OnRightClick([&](ScreenPoint p) { right_clicks.emplace_back(p.x, p.y); });
  ScreenPoint menu_at;
  tray->SetPopupMenu([&](ScreenPoint p) {
    ++menus;
    menu_at = p;
  });
  MakeActive();
  ASSERT_TRUE(shell.handler);

  EXPECT_TRUE(shell.handler(1025, 0, 0x0202));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(double_clicks, 0);
  EXPECT_TRUE(shell.handler(1025, 0, 0x0203));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(double_clicks, 1);

  // Window visible, no separate icon: no menu, the event still fires.
  EXPECT_TRUE(shell.handler(1025, 0, 0x0205));
  EXPECT_EQ(menus, 0);
  ASSERT_EQ(right_clicks.size(), 1u);
  EXPECT_EQ(right_clicks[0], std::make_pair(640, 1010));

  tray->AppMinimize();
  EXPECT_TRUE(shell.handler(1025, 0, 0x0205));
  EXPECT_EQ(menus, 1);
  EXPECT_EQ(menu_at.x, 640);
  EXPECT_EQ(menu_at.y, 1010);

  // Other mouse events are taken and do nothing; other messages are not.
  EXPECT_TRUE(shell.handler(1025, 0, 0x0201));
  EXPECT_FALSE(shell.handler(0x0010, 0, 0x0202));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(right_clicks.size(), 2u);
}

TEST_F(TrayIconTest, DestructionRemovesTheIconThenTheWindow) {
  MakeActive();
  tray->AppMinimize();
  shell.calls.clear();
  tray.reset();
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"Delete", "DestroyWindow"}));
  EXPECT_FALSE(shell.icon_present);
}

}  // namespace
}  // namespace velkora
