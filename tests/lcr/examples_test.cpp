// The sample configurations of examples/lcr, read from disk through the
// profile functions: every mode loads and gives the costs worked out by
// hand beside each case.

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_platform.h"
#include "lcr/ranking.h"
#include "platform/posix/ini_file_profile.h"
#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"
#include "shell/script_frame.h"

namespace velkora {
namespace {

namespace fs = std::filesystem;

class ExamplesTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  posix::IniFileProfile profile;
  posix::PosixFileSystem files;
  // The clock (Monday 7 December 2026, 07:58:30), German formats and the
  // boxes are fakes; the files are real.
  fakes::FakePlatform fakes;
  fakes::FakeClock& clock = fakes.clock;
  fakes::FakeLocale& locale = fakes.locale;
  fakes::FakeMessageBoxes& boxes = fakes.boxes;
  ShellContext shell{fakes, "", "", false};
  ScriptFrame frame{shell};
  TPerlre perlre{true, kPerlreCaseless};

  // Copies the samples and points the mode's settings at the copy of tk32.
  std::string Use(const std::string& mode) {
    fs::copy(fs::path(VELKORA_EXAMPLES_DIR) / "lcr", dir.path(), fs::copy_options::recursive);
    const std::string settings = (dir.path() / mode / "velkora.ini").string();
    if (mode != "einstellungen") {
      EXPECT_TRUE(profile.WriteString("LCR", "TK32Pfad", (dir.path() / "tk32").string(), settings));
    }
    return settings;
  }

  std::string Run(const std::string& settings, const std::string& dauer, std::string& name) {
    LcrServices services{profile, settings, clock, locale, files, boxes, perlre, frame, nullptr};
    std::string list;
    VerbindungskostenAuswerten(services, dauer, name, list, ";");
    return list;
  }
};

TEST_F(ExamplesTest, TariffsInTheSettingsFile) {
  const std::string settings = Use("einstellungen");
  std::string name;
  // 60 s: 60 x 0.0002; 1 x 0.0099; 0.10 + 0.0049.
  EXPECT_EQ(Run(settings, "60", name), "Minutentakt:0,0099;Sekundentakt:0,012;Grundgebuehr:0,1049");
  EXPECT_EQ(name, "Minutentakt");
  Run(settings, "30", name);
  EXPECT_EQ(name, "Sekundentakt");
  Run(settings, "3600", name);
  EXPECT_EQ(name, "Grundgebuehr");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ExamplesTest, Tk32WithProvidersFromTheSettings) {
  const std::string settings = Use("tk32-modus1");
  std::string name;
  EXPECT_EQ(Run(settings, "60", name), "Flinknet:0,0079;dauersurfer:0,1549");
  EXPECT_EQ(name, "Flinknet");
  // 3600 s: 60 x 0.0079 against 0.15 + 60 x 0.0049.
  EXPECT_EQ(Run(settings, "3600", name), "Flinknet:0,474;dauersurfer:0,444");
  EXPECT_EQ(name, "dauersurfer");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ExamplesTest, Tk32WithEveryConnection) {
  const std::string settings = Use("tk32-modus2");
  std::string name;
  // Monday 07:58:30, 300 s. Flinknet 5 x 0.0079. Nachtfalke's night price
  // lasts to 09:00: 5 x 0.0089. Mitternacht: Kupfernetz's night unit of
  // 240 s twice, 0.12. Kupfernetz-Online: 0.12 and its provider price
  // 0.0081 per minute, 2 increments up to 08:00:30 and 3 after. Dauersurfer
  // 0.15 + 5 x 0.0049.
  EXPECT_EQ(Run(settings, "300", name),
            "Flinknet:0,0395;Nachtfalke:0,0445;Mitternacht:0,12;Kupfernetz-Online:0,1605;"
            "Dauersurfer:0,1745");
  EXPECT_EQ(name, "Flinknet");

  // Noon on a working day: Nachtfalke's day price, Kupfernetz's 90 s unit
  // (4 x 0.06), and Kupfernetz-Online's day fee of 0.05.
  clock.now = EncodeDate(2026, 12, 8) + EncodeTime(12, 0, 0);
  EXPECT_EQ(Run(settings, "300", name),
            "Flinknet:0,0395;Nachtfalke:0,0795;Dauersurfer:0,1745;Mitternacht:0,24;"
            "Kupfernetz-Online:0,3305");
  // Noon on Christmas Day, a Friday and a holiday: the weekend tariffs.
  clock.now = EncodeDate(2026, 12, 25) + EncodeTime(12, 0, 0);
  EXPECT_EQ(Run(settings, "300", name),
            "Flinknet:0,0395;Nachtfalke:0,0445;Mitternacht:0,12;Kupfernetz-Online:0,1605;"
            "Dauersurfer:0,1745");
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace velkora
