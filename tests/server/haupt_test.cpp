#include "server/haupt.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "fakes/shell_fixture.h"

namespace velkora {
namespace {

TEST(VersionDigits, PadsEachPartToTwoDigits) {
  EXPECT_EQ(VersionDigits("1.1.3"), "010103");
  EXPECT_EQ(VersionDigits("10.2.123"), "1002123");
  EXPECT_EQ(VersionDigits("1..3"), "010003");
}

class HauptTest : public ::testing::Test {
 protected:
  fakes::ShellFixture f;
  TPerlre perlre{true, kPerlreCaseless};
  THaupt haupt{f.shell, perlre, StartSettings{}, {"/bin/velkora"}};
};

TEST_F(HauptTest, VelkoraVersionLogsCallAndQuotedResult) {
  const std::string digits = VersionDigits(kVersion);
  EXPECT_EQ(haupt.VelkoraVersion(), digits);
  EXPECT_EQ(haupt.StatusLine(), "VelkoraVersion()-->\"" + digits + "\"");
  EXPECT_EQ(f.Log(),
            "07.12.2026 07:58:30 VelkoraVersion()\r\n"
            "07.12.2026 07:58:30  --> \"" +
                digits + "\"\r\n");
}

TEST_F(HauptTest, VelkoraIninameIsTheSettingsFile) {
  EXPECT_EQ(haupt.VelkoraIniname(), "/cfg/velkora.ini");
  EXPECT_EQ(haupt.StatusLine(), "VelkoraIniname()-->\"/cfg/velkora.ini\"");
}

TEST_F(HauptTest, ShowInfoShowsTheBoxWithoutResultLine) {
  haupt.ShowInfo();
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  const auto& box = f.boxes.shown[0];
  EXPECT_EQ(box.caption, "Info");
  EXPECT_EQ(box.icon, BoxIcon::kInformation);
  EXPECT_EQ(box.buttons, BoxButtons::kOk);
  const std::size_t split = box.text.find("\r\r");
  ASSERT_NE(split, std::string::npos);
  EXPECT_NE(box.text.find("Windows Script Host"), std::string::npos);
  EXPECT_NE(box.text.find("Version " + std::string(kVersion), split), std::string::npos);
  EXPECT_NE(box.text.find("03/2017", split), std::string::npos);
  EXPECT_EQ(haupt.StatusLine(), "ShowInfo()");
  EXPECT_EQ(f.Log(), "07.12.2026 07:58:30 ShowInfo()\r\n");
}

TEST_F(HauptTest, PositionIsReadAtCreationAndWrittenAtDestruction) {
  f.profile.Set(f.shell.settings_file, "Fenster", "Links", "120");
  f.profile.Set(f.shell.settings_file, "Fenster", "Oben", "0x20");
  THaupt window(f.shell, perlre, {}, {"/bin/velkora"});
  EXPECT_EQ(window.Left(), 120);
  EXPECT_EQ(window.Top(), 32);
  window.SetPosition(5, -7);
  window.FormDestroy();
  EXPECT_EQ(f.profile.Get(f.shell.settings_file, "Fenster", "Links"), "5");
  EXPECT_EQ(f.profile.Get(f.shell.settings_file, "Fenster", "Oben"), "-7");
  EXPECT_EQ(f.Log(), "07.12.2026 07:58:30 Programmende\r\n");
}

// The tariff engine runs over the main window's platform and shared
// regular expressions; its list goes to Para5, the test menu's entry takes
// the duration from Para1, and the engine's lines reach the log only while
// logging is on.
TEST_F(HauptTest, LeastCostRoutingThroughTheMainWindow) {
  f.profile.Set(f.shell.settings_file, "LCR", "3", "Flat");
  for (const char* day : {"Ft", "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}) {
    f.profile.Set(f.shell.settings_file, "LCR Flat", day, "Immer");
  }
  f.profile.Set(f.shell.settings_file, "LCR Flat", "Immer", "00:00:00 0.01 60");
  haupt.Para1() = "120";
  haupt.MenuTestGetRasLCRName();
  EXPECT_EQ(haupt.StatusLine(), "GetRasLCRName(\"120\")-->\"Flat\"");
  EXPECT_EQ(haupt.Para5(), "Flat:0,02");
  EXPECT_EQ(haupt.GetRasLCRInfo("60", "|"), "Flat:0,01");
  EXPECT_EQ(haupt.Para5(), "Flat:0,02");
  EXPECT_NE(f.Log().find(" Provider: Flat"), std::string::npos);

  f.shell.schreibe_log = false;
  f.files.files.clear();
  EXPECT_EQ(haupt.GetRasLCRName("60"), "Flat");
  EXPECT_TRUE(f.files.files.empty());

  haupt.LCRFehler("Probe");
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].caption, "Fehler in Velkora.GetRasLCR");
  EXPECT_EQ(f.boxes.shown[0].text, "Probe");
}

}  // namespace
}  // namespace velkora
