#include "shell/settings.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "fakes/shell_fixture.h"

namespace velkora {
namespace {

using fakes::ShellFixture;

struct ReadCase {
  const char* stored;  // nullptr: key missing
  Variant default_value;
  Variant expected;
};

class ReadSettingTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadSettingTest, ReadsByTypeOfDefault) {
  ShellFixture f;
  const ReadCase& c = GetParam();
  if (c.stored) f.profile.Set(f.shell.settings_file, "Fenster", "Key", c.stored);
  EXPECT_EQ(ReadSetting(f.shell, "Fenster", "Key", c.default_value), c.expected);
  EXPECT_TRUE(f.boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadSettingTest,
    ::testing::Values(ReadCase{nullptr, Variant::Bool(true), Variant::Bool(true)},
                      ReadCase{nullptr, Variant::Bool(false), Variant::Bool(false)},
                      ReadCase{"yes", Variant::Bool(false), Variant::Bool(false)},
                      ReadCase{"yes", Variant::Bool(true), Variant::Bool(true)},
                      ReadCase{"", Variant::Bool(true), Variant::Bool(true)},
                      ReadCase{"2", Variant::Bool(false), Variant::Bool(true)},
                      ReadCase{"-1", Variant::Bool(false), Variant::Bool(true)},
                      ReadCase{"0", Variant::Bool(true), Variant::Bool(false)},
                      ReadCase{"0x10", Variant::I4(0), Variant::I4(16)},
                      ReadCase{"0XfF", Variant::I4(0), Variant::I4(255)},
                      ReadCase{"$20", Variant::I4(0), Variant::I4(32)},
                      ReadCase{"0x", Variant::I4(7), Variant::I4(7)},
                      ReadCase{"-42", Variant::I4(0), Variant::I4(-42)},
                      ReadCase{"12abc", Variant::I4(5), Variant::I4(5)},
                      ReadCase{" 12", Variant::I4(5), Variant::I4(5)},
                      ReadCase{nullptr, Variant::I4(-3), Variant::I4(-3)},
                      ReadCase{"300", Variant::I2(1), Variant::I2(300)},
                      ReadCase{"40000", Variant::I2(1), Variant::I2(1)},
                      ReadCase{"0x10", Variant::Bool(false), Variant::Bool(true)},
                      ReadCase{"Hallo Welt", Variant::Text("x"), Variant::Text("Hallo Welt")},
                      ReadCase{nullptr, Variant::Text("vorgabe"), Variant::Text("vorgabe")},
                      ReadCase{"", Variant::Text("vorgabe"), Variant::Text("")}));

TEST(ReadSetting, TextIsCutAt2047Characters) {
  ShellFixture f;
  f.profile.Set(f.shell.settings_file, "LCR", "TK32Pfad", std::string(3000, 'a'));
  EXPECT_EQ(ReadSetting(f.shell, "LCR", "TK32Pfad", Variant::Text("")),
            Variant::Text(std::string(2047, 'a')));
}

TEST(ReadSetting, ByRefDefaultIsFollowed) {
  ShellFixture f;
  f.profile.Set(f.shell.settings_file, "Fenster", "Links", "12");
  const Variant target = Variant::I4(0);
  EXPECT_EQ(ReadSetting(f.shell, "Fenster", "Links", Variant::ByRef(&target)), Variant::I4(12));
}

TEST(ReadSetting, OtherTypesShowTheIniBoxAndGiveTheDefault) {
  ShellFixture f;
  f.profile.Set(f.shell.settings_file, "Fenster", "Wert", "1,5");
  EXPECT_EQ(ReadSetting(f.shell, "Fenster", "Wert", Variant::R8(2.5)), Variant::R8(2.5));
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].caption, "Fehler INI-Modul");
  EXPECT_EQ(f.boxes.shown[0].text, "Unbekannter Ini-Typ (Lesen): Fenster: Wert");
  EXPECT_EQ(f.boxes.shown[0].icon, BoxIcon::kError);
}

TEST(WriteSetting, StoresEachTypeAsText) {
  ShellFixture f;
  WriteSetting(f.shell, "Fenster", "Links", Variant::I4(-17));
  WriteSetting(f.shell, "Fenster", "Oben", Variant::I2(5));
  WriteSetting(f.shell, "Fenster", "Vordergrund", Variant::Bool(true));
  WriteSetting(f.shell, "Fenster", "Testmodus", Variant::Bool(false));
  WriteSetting(f.shell, "LCR", "TK32Pfad", Variant::Text("  C:\\TK32 "));
  const std::string& ini = f.shell.settings_file;
  EXPECT_EQ(f.profile.Get(ini, "Fenster", "Links"), "-17");
  EXPECT_EQ(f.profile.Get(ini, "Fenster", "Oben"), "5");
  EXPECT_EQ(f.profile.Get(ini, "Fenster", "Vordergrund"), "1");
  EXPECT_EQ(f.profile.Get(ini, "Fenster", "Testmodus"), "0");
  EXPECT_EQ(f.profile.Get(ini, "LCR", "TK32Pfad"), "  C:\\TK32 ");
}

TEST(WriteSetting, FailedWriteRaisesWithTheFileName) {
  ShellFixture f;
  f.profile.fail_writes = true;
  try {
    WriteSetting(f.shell, "Fenster", "Links", Variant::I4(1));
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), "nach /cfg/velkora.ini kann nicht geschrieben werden");
  }
}

TEST(WriteSetting, OtherTypesShowTheIniBoxAndWriteNothing) {
  ShellFixture f;
  WriteSetting(f.shell, "Fenster", "Wann", Variant::Date(1.0));
  EXPECT_TRUE(f.profile.writes.empty());
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].text, "Unbekannter Ini-Typ (Schreiben): Fenster: Wann");
}

TEST(ChangeFileExt, ReplacesOnlyTheLastComponentsExtension) {
  EXPECT_EQ(ChangeFileExt("C:\\Tools\\server.exe", ".ini"), "C:\\Tools\\server.ini");
  EXPECT_EQ(ChangeFileExt("C:\\my.tools\\server", ".log"), "C:\\my.tools\\server.log");
  EXPECT_EQ(ChangeFileExt("/opt/a.b/velkora", ".ini"), "/opt/a.b/velkora.ini");
}

}  // namespace
}  // namespace velkora
