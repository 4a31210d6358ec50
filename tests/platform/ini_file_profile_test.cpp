#include "platform/posix/ini_file_profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace velkora::posix {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

const std::string kOriginal = "; settings\r\n[Fenster]\r\nBreite=10\r\n\r\n[LCR]\r\nAktiv=1\r\n";

std::vector<std::string> EntriesOf(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

TEST(IniFileProfile, ReadsTheFileAsItIsNow) {
  TempDir dir;
  const std::string file = dir.File("a.ini");
  IniFileProfile profile;
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "none", 2048, file), "none");  // missing file
  WriteBytes(file, kOriginal);
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "none", 2048, file), "10");
  WriteBytes(file, "[Fenster]\nBreite=20\n");  // changed behind the profile's back
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "none", 2048, file), "20");
  EXPECT_EQ(profile.GetString(std::nullopt, std::nullopt, "", 16384, file), std::string("Fenster\0", 8));
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "none", 2048, ""), "none");
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "none", 2048, dir.path().string()), "none");  // a folder
  const std::string fifo = dir.File("fifo.ini");
  ASSERT_EQ(std::system(("mkfifo '" + fifo + "'").c_str()), 0);
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "none", 2048, fifo), "none") << "must not block";
  EXPECT_FALSE(profile.WriteString("Fenster", "Breite", "1", fifo));
}

TEST(IniFileProfile, WritesCreateEditAndDelete) {
  TempDir dir;
  const std::string file = dir.File("new.ini");
  IniFileProfile profile;
  ASSERT_TRUE(profile.WriteString("App", "key", "v1", file));
  EXPECT_EQ(ReadBytes(file), "[App]\r\nkey=v1\r\n");
  ASSERT_TRUE(profile.WriteString("App", "key", "v2", file));
  ASSERT_TRUE(profile.WriteString("App", "other", "x", file));
  EXPECT_EQ(profile.GetString("App", "key", "", 2048, file), "v2");
  ASSERT_TRUE(profile.WriteString("App", "key", std::nullopt, file));
  EXPECT_EQ(ReadBytes(file), "[App]\r\nother=x\r\n");
  ASSERT_TRUE(profile.WriteString("App", std::nullopt, std::nullopt, file));
  EXPECT_EQ(ReadBytes(file), "");
  // Deleting from a missing file succeeds and leaves an empty file, as the
  // platform does.
  const std::string absent = dir.File("absent.ini");
  ASSERT_TRUE(profile.WriteString("App", "key", std::nullopt, absent));
  EXPECT_TRUE(fs::exists(absent));
  EXPECT_EQ(EntriesOf(dir.path()).size(), 2u) << "no temporary file left behind";
}

TEST(IniFileProfile, RefusedWritesLeaveNothingBehind) {
  TempDir dir;
  IniFileProfile profile;
  EXPECT_FALSE(profile.WriteString("s", "k", "v", ""));
  EXPECT_FALSE(profile.WriteString("s", "k", "v", dir.File("missing/folder.ini")));
  EXPECT_FALSE(profile.WriteString("s", "k", "v", dir.path().string()));  // a folder where the file should be
  const std::string file = dir.File("a.ini");
  WriteBytes(file, kOriginal);
  EXPECT_FALSE(profile.WriteString("s", "k", "line\r\nbreak", file));
  EXPECT_EQ(ReadBytes(file), kOriginal);

  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(profile.WriteString("Fenster", "Breite", "99", file));
  EXPECT_EQ(ReadBytes(file), kOriginal);
  EXPECT_EQ(EntriesOf(dir.path()), std::vector<std::string>{"a.ini"});
}

class InjectedFailure : public testing::TestWithParam<IniFileProfile::WriteStep> {};

TEST_P(InjectedFailure, LeavesTheOriginalIntact) {
  TempDir dir;
  const std::string file = dir.File("a.ini");
  WriteBytes(file, kOriginal);
  const IniFileProfile::WriteStep failing = GetParam();
  IniFileProfile profile([failing](IniFileProfile::WriteStep step) { return step == failing; });
  EXPECT_FALSE(profile.WriteString("Fenster", "Breite", "99", file));
  EXPECT_FALSE(profile.WriteString("Neu", "k", "v", file));
  EXPECT_EQ(ReadBytes(file), kOriginal);
  EXPECT_EQ(EntriesOf(dir.path()), std::vector<std::string>{"a.ini"});
  EXPECT_FALSE(profile.WriteString("s", "k", "v", dir.File("created.ini")));
  EXPECT_FALSE(fs::exists(dir.File("created.ini")));
}

INSTANTIATE_TEST_SUITE_P(EveryStep, InjectedFailure,
                         testing::Values(IniFileProfile::WriteStep::kCreateTemp,
                                         IniFileProfile::WriteStep::kWriteTemp,
                                         IniFileProfile::WriteStep::kSyncTemp, IniFileProfile::WriteStep::kRename));

TEST(IniFileProfile, ReadOnlyFolderFailsCleanly) {
  TempDir dir;
  const fs::path folder = dir.path() / "locked";
  fs::create_directory(folder);
  const std::string file = (folder / "a.ini").string();
  WriteBytes(file, kOriginal);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  {
    std::ofstream probe(folder / "probe");
    if (probe) GTEST_SKIP() << "this user may write into read-only folders";
  }
  IniFileProfile profile;
  EXPECT_FALSE(profile.WriteString("Fenster", "Breite", "99", file));
  EXPECT_EQ(ReadBytes(file), kOriginal);
}

TEST(IniFileProfile, ReplacementKeepsPermissionBits) {
  TempDir dir;
  IniFileProfile profile;
  for (const fs::perms perms : {fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                                fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                    fs::perms::group_write | fs::perms::others_read | fs::perms::others_write}) {
    const std::string file = dir.File("p.ini");
    WriteBytes(file, kOriginal);
    fs::permissions(file, perms);
    ASSERT_TRUE(profile.WriteString("Fenster", "Breite", "99", file));
    EXPECT_EQ(fs::status(file).permissions(), perms);
    EXPECT_EQ(profile.GetString("Fenster", "Breite", "", 2048, file), "99");
  }
}

TEST(IniFileProfile, WritesThroughASymlinkToItsTarget) {
  TempDir dir;
  fs::create_directory(dir.path() / "real");
  const std::string target = dir.File("real/target.ini");
  const std::string link = dir.File("link.ini");
  WriteBytes(target, kOriginal);
  fs::create_symlink("real/target.ini", link);  // relative, resolved from the link's folder
  IniFileProfile profile;
  ASSERT_TRUE(profile.WriteString("LCR", "Aktiv", "0", link));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(profile.GetString("LCR", "Aktiv", "", 2048, target), "0");
  EXPECT_EQ(EntriesOf(dir.path() / "real"), std::vector<std::string>{"target.ini"});

  // A dangling link creates its target.
  const std::string dangling = dir.File("dangling.ini");
  fs::create_symlink(dir.File("real/created.ini"), dangling);
  ASSERT_TRUE(profile.WriteString("s", "k", "v", dangling));
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(ReadBytes(dir.File("real/created.ini")), "[s]\r\nk=v\r\n");
}

TEST(IniFileProfile, LeftoverTemporaryFileNeverShadowsTheFile) {
  TempDir dir;
  const std::string file = dir.File("a.ini");
  WriteBytes(file, kOriginal);
  const std::string leftover = dir.File(".a.ini.tmp-1-1");
  WriteBytes(leftover, "[Fenster]\r\nBreite=crashed\r\n");
  IniFileProfile profile;
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "", 2048, file), "10");
  ASSERT_TRUE(profile.WriteString("Fenster", "Hoehe", "5", file));
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "", 2048, file), "10");
  EXPECT_EQ(profile.GetString("Fenster", "Hoehe", "", 2048, file), "5");
  EXPECT_EQ(ReadBytes(leftover), "[Fenster]\r\nBreite=crashed\r\n");
}

}  // namespace
}  // namespace velkora::posix
