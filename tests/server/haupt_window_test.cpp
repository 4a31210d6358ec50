// THaupt as a window: start visibility, tray icon, stay-on-top, the test
// menu's handlers and the dial-up operations.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "fakes/fake_dialup.h"
#include "fakes/fake_tray_shell.h"
#include "fakes/fake_window_list.h"
#include "fakes/shell_fixture.h"
#include "server/haupt.h"
#include "server/main_menu.h"

namespace velkora {
namespace {

class HauptWindowTest : public ::testing::Test {
 protected:
  HauptWindowTest() {
    f.tray = &tray;
    f.ras = &ras;
    f.messages = &pump;
    f.perf = &perf;
  }

  std::unique_ptr<THaupt> Make(StartSettings start, std::vector<std::string> params) {
    return std::make_unique<THaupt>(f.shell, perlre, start, std::move(params));
  }
  std::unique_ptr<THaupt> MakeNormal() {
    return Make({}, {"C:\\Tools\\velkora.exe", "-Embedding"});
  }
  std::optional<std::string> Setting(const std::string& key) {
    return f.profile.Get(f.shell.settings_file, "Fenster", key);
  }

  fakes::ShellFixture f;
  TPerlre perlre{true, kPerlreCaseless};
  fakes::FakeTrayShell tray;
  fakes::FakeRasLibrary ras;
  fakes::FakeMessagePump pump;
  fakes::FakePerfData perf;
};

TEST_F(HauptWindowTest, NormalStartWithFreshSettingsGoesToTheTrayOnTopAtTheOrigin) {
  auto haupt = MakeNormal();
  EXPECT_EQ(haupt->Visibility(), THaupt::StartVisibility::kMinimizedToTray);
  EXPECT_TRUE(haupt->StaysOnTop());
  EXPECT_EQ(haupt->Left(), 0);
  EXPECT_EQ(haupt->Top(), 0);
  EXPECT_EQ(haupt->StatusLine(), "");
  EXPECT_FALSE(tray.icon_present);

  haupt->WMStartMinimized();
  EXPECT_TRUE(tray.icon_present);
  EXPECT_EQ(tray.icon.tip, "velkora");
  EXPECT_EQ(tray.Count("Add"), 1);
  // A click on the icon shows the info box.
  ASSERT_TRUE(tray.handler);
  tray.handler(1025, 0, 0x0202);
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].caption, "Info");

  haupt.reset();
  EXPECT_FALSE(tray.icon_present);
}

TEST_F(HauptWindowTest, TestmodeParameterShowsTheWindowAndKeepsTheIcon) {
  for (const char* word : {"TESTMODE", "testmode", "TestMode"}) {
    auto haupt = Make({}, {"C:\\velkora.exe", word});
    EXPECT_EQ(haupt->Visibility(), THaupt::StartVisibility::kShown) << word;
    EXPECT_TRUE(haupt->TrayIcon().Active());
  }
  auto other = Make({}, {"C:\\velkora.exe", "TESTMODE2"});
  EXPECT_EQ(other->Visibility(), THaupt::StartVisibility::kMinimizedToTray);
  // Minimising the shown window moves it to the notification area.
  auto shown = Make({}, {"C:\\velkora.exe", "testmode"});
  shown->ApplicationMinimized();
  EXPECT_TRUE(tray.icon_present);
  shown->ApplicationRestored();
  EXPECT_FALSE(tray.icon_present);
}

TEST_F(HauptWindowTest, TestmodusShowsTheWindowWithoutIconAndAStartLine) {
  auto haupt = Make({.testmodus = true}, {"C:\\velkora.exe"});
  EXPECT_EQ(haupt->Visibility(), THaupt::StartVisibility::kShown);
  EXPECT_EQ(haupt->StatusLine(), "Start Velkora Version " + std::string(kVersion));
  EXPECT_FALSE(haupt->TrayIcon().Active());
  haupt->ApplicationMinimized();
  EXPECT_EQ(tray.Count("Add"), 0);
  // The status line is not a log line.
  EXPECT_EQ(f.Log(), "");
}

TEST_F(HauptWindowTest, UnsichtbarHidesWindowAndIcon) {
  auto haupt = Make({.unsichtbar = true}, {"C:\\velkora.exe", "-Embedding"});
  EXPECT_EQ(haupt->Visibility(), THaupt::StartVisibility::kHidden);
  // Testmodus wins over Unsichtbar.
  auto test = Make({.testmodus = true, .unsichtbar = true}, {"C:\\velkora.exe"});
  EXPECT_EQ(test->Visibility(), THaupt::StartVisibility::kShown);
  EXPECT_FALSE(tray.icon_present);
}

TEST_F(HauptWindowTest, VordergrundIsReadAtCreationAndWrittenAtEachToggle) {
  f.profile.Set(f.shell.settings_file, "Fenster", "Vordergrund", "0");
  auto haupt = MakeNormal();
  EXPECT_FALSE(haupt->StaysOnTop());
  EXPECT_TRUE(RunMenuCommand(*haupt, MenuCommand::kVordergrund));
  EXPECT_TRUE(haupt->StaysOnTop());
  EXPECT_EQ(Setting("Vordergrund"), "1");
  haupt->MenuDateiVordergrund();
  EXPECT_FALSE(haupt->StaysOnTop());
  EXPECT_EQ(Setting("Vordergrund"), "0");

  // A write that fails still leaves the window toggled, for the host to show.
  f.profile.fail_writes = true;
  EXPECT_THROW(haupt->MenuDateiVordergrund(), Error);
  EXPECT_TRUE(haupt->StaysOnTop());
}

TEST_F(HauptWindowTest, OnlyOneInfoBoxFromTheTrayButTheTestMenuAsksNoQuestions) {
  auto haupt = MakeNormal();
  int inner_boxes = 0;
  f.boxes.inside = [&] {
    if (inner_boxes++ > 0) return;
    tray.handler(1025, 0, 0x0202);  // a second click while the box is open
    EXPECT_TRUE(haupt->InfoShowing());
  };
  RunMenuCommand(*haupt, MenuCommand::kTrayInfo);
  EXPECT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_FALSE(haupt->InfoShowing());

  inner_boxes = 0;
  f.boxes.inside = [&] {
    if (inner_boxes++ > 0) return;
    RunMenuCommand(*haupt, MenuCommand::kInfo);
  };
  haupt->TrayZeigeInfo();
  EXPECT_EQ(f.boxes.shown.size(), 3u);

  // A failing box does not leave the guard set.
  f.boxes.inside = [] { throw Error("kaputt"); };
  EXPECT_THROW(haupt->TrayZeigeInfo(), Error);
  EXPECT_FALSE(haupt->InfoShowing());
}

TEST_F(HauptWindowTest, TestMenuPutsResultsIntoPara5) {
  auto haupt = MakeNormal();
  haupt->Para5() = "alt";
  RunMenuCommand(*haupt, MenuCommand::kVersion);
  EXPECT_EQ(haupt->Para5(), "010103");
  RunMenuCommand(*haupt, MenuCommand::kIniname);
  EXPECT_EQ(haupt->Para5(), "/cfg/velkora.ini");

  ras.connections = {{7, "T-Online"}};
  RunMenuCommand(*haupt, MenuCommand::kVerbindungsname);
  EXPECT_EQ(haupt->StatusLine(), "GetRasConnection()-->\"T-Online\"");
  EXPECT_EQ(haupt->Para5(), "/cfg/velkora.ini");

  EXPECT_FALSE(RunMenuCommand(*haupt, MenuCommand::kEnde));
  EXPECT_FALSE(RunMenuCommand(*haupt, MenuCommand::kTrayEnde));
}

// The window gets commands from more than its menus: the dialog manager
// sends Enter and Esc in an input line as IDOK (1) and IDCANCEL (2). Only
// the menus' own identifiers are commands, and a value of no command runs
// nothing and closes nothing.
TEST_F(HauptWindowTest, IdentifiersOfNoMenuItemAreNoCommands) {
  for (uint32_t id : {0u, 1u, 2u, 100u, 114u, 0xFFFFu}) {
    EXPECT_EQ(MenuCommandFromId(id), std::nullopt) << id;
  }
  std::vector<MenuItem> items(TrayMenu().begin(), TrayMenu().end());
  for (const MenuBarEntry& entry : MainMenu()) {
    items.insert(items.end(), entry.items.begin(), entry.items.end());
  }
  for (const MenuItem& item : items) {
    if (item.caption == "-") continue;
    EXPECT_EQ(MenuCommandFromId(static_cast<uint32_t>(item.command)), item.command) << item.caption;
  }

  auto haupt = MakeNormal();
  EXPECT_TRUE(RunMenuCommand(*haupt, static_cast<MenuCommand>(2)));
  EXPECT_TRUE(f.boxes.shown.empty());
  EXPECT_EQ(haupt->StatusLine(), "");
}

// The window entries of the test menu take their arguments from the input
// lines as typed; only the two list functions put their result into Para5.
// The LCR entry's duration is Para1 as text, and the ranking fills Para5.
TEST_F(HauptWindowTest, TestMenuWindowAndLcrEntriesReadTheInputLines) {
  fakes::FakeWindowList windows;
  f.windows = &windows;
  windows.Add("Editor - a.txt");
  windows.Add("Rechner");
  windows.Add("Editor - b.txt");
  auto haupt = MakeNormal();
  haupt->Para5() = "alt";

  haupt->Para1() = "Rech";
  RunMenuCommand(*haupt, MenuCommand::kWindowExists);
  EXPECT_EQ(haupt->StatusLine(), "WindowExists(\"Rech\")-->True");
  EXPECT_EQ(haupt->Para5(), "alt");
  RunMenuCommand(*haupt, MenuCommand::kCloseWindow);
  EXPECT_EQ(windows.ClosedTitles(), (std::vector<std::string>{"Rechner"}));
  EXPECT_EQ(haupt->Para5(), "alt");

  haupt->Para1() = "^editor";
  haupt->Para2() = "|";
  RunMenuCommand(*haupt, MenuCommand::kWndGetList);
  EXPECT_EQ(haupt->Para5(), "Editor - a.txt|Editor - b.txt");
  // Para3 is the text of Alle: "Wahr" is no Boolean and fails before any
  // window is asked; the error escapes to the window's error report.
  haupt->Para3() = "Wahr";
  EXPECT_THROW(RunMenuCommand(*haupt, MenuCommand::kWndClose), Error);
  EXPECT_EQ(windows.close_requests.size(), 1u);
  haupt->Para3() = "True";
  RunMenuCommand(*haupt, MenuCommand::kWndClose);
  EXPECT_EQ(haupt->Para5(), "Editor - a.txt|Editor - b.txt");
  EXPECT_EQ(windows.ClosedTitles(),
            (std::vector<std::string>{"Rechner", "Editor - a.txt", "Editor - b.txt"}));

  f.profile.Set(f.shell.settings_file, "LCR", "0", "Flat");
  for (const char* day : {"Ft", "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}) {
    f.profile.Set(f.shell.settings_file, "LCR Flat", day, "P");
  }
  f.profile.Set(f.shell.settings_file, "LCR Flat", "P", "00:00:00 0.01 60");
  haupt->Para1() = "61";
  EXPECT_TRUE(RunMenuCommand(*haupt, MenuCommand::kLcr));
  EXPECT_EQ(haupt->StatusLine(), "GetRasLCRName(\"61\")-->\"Flat\"");
  EXPECT_EQ(haupt->Para5(), "Flat:0,02");

  // A script's ranking shows in the window's Para5 at once.
  std::vector<std::string> shown;
  haupt->OnPara5Changed([&](const std::string& text) { shown.push_back(text); });
  EXPECT_EQ(haupt->GetRasLCRName("3600"), "Flat");
  EXPECT_EQ(shown, (std::vector<std::string>{"Flat:0,6"}));
}

TEST_F(HauptWindowTest, DialUpOperationsUseThePlatformsLibraryAndCounters) {
  auto haupt = MakeNormal();
  ras.connections = {{7, "A"}, {8, "B"}};
  perf.values["Dial-Up Adapter\\ConnectSpeed"] = {kRegBinary, {0x40, 0x1F, 0, 0}};
  EXPECT_EQ(haupt->GetRasConnection(), "A");
  EXPECT_EQ(haupt->RasClose(), "B");
  EXPECT_TRUE(ras.connections.empty());
  EXPECT_EQ(haupt->GetPerfStats("Dial-Up Adapter\\ConnectSpeed"), 8000);
  EXPECT_EQ(haupt->StatusLine(), "GetPerfStats(\"Dial-Up Adapter\\ConnectSpeed\")-->8000");

  // A connection still attached when the window goes is hung up.
  ras.connections = {{9, "C"}};
  haupt->Ras().QueryCurrentConnection();
  haupt->Ras().AttachConnection(0);
  ras.calls.clear();
  haupt.reset();
  EXPECT_EQ(ras.calls, (std::vector<std::string>{"HangUp 9", "Unload"}));
}

}  // namespace
}  // namespace velkora
