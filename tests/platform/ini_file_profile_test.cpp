#include "platform/posix/ini_file_profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace velkora::posix {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

// The user the unprivileged writes run as when the tests run as root.
constexpr uid_t kNobody = 65534;

const std::string kOriginal = "; settings\r\n[Fenster]\r\nBreite=10\r\n\r\n[LCR]\r\nAktiv=1\r\n";

std::vector<std::string> EntriesOf(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
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
  EXPECT_EQ(profile.GetString(std::nullopt, std::nullopt, "", 16384, file),
            std::string("Fenster\0", 8));
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "none", 2048, ""), "none");
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "none", 2048, dir.path().string()),
            "none");  // a folder
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
  // Deleting from a missing file succeeds and creates nothing.
  const std::string absent = dir.File("absent.ini");
  ASSERT_TRUE(profile.WriteString("App", "key", std::nullopt, absent));
  ASSERT_TRUE(profile.WriteString("App", std::nullopt, std::nullopt, absent));
  EXPECT_FALSE(fs::exists(absent));
  EXPECT_EQ(EntriesOf(dir.path()), std::vector<std::string>{"new.ini"})
      << "nothing else left behind";
  // A delete that finds nothing leaves the file alone, down to its inode.
  const ino_t before = InodeOf(file);
  ASSERT_TRUE(profile.WriteString("App", "missing", std::nullopt, file));
  EXPECT_EQ(InodeOf(file), before);
}

// Names up to the system's limit of 255 bytes: the temporary name beside
// the file must fit as well.
TEST(IniFileProfile, NamesAtTheSystemsLengthLimitAreWritable) {
  TempDir dir;
  IniFileProfile profile;
  for (const std::size_t length : {230u, 250u, 255u}) {
    const std::string name = std::string(length - 4, 'n') + ".ini";
    const std::string file = dir.File(name);
    ASSERT_TRUE(profile.WriteString("s", "k", "1", file)) << length;
    ASSERT_TRUE(profile.WriteString("s", "k", "2", file)) << length;
    EXPECT_EQ(ReadBytes(file), "[s]\r\nk=2\r\n");
  }
  // Multi-byte characters: the temporary name keeps no half of one.
  std::string umlauts;
  while (umlauts.size() < 250) umlauts += "\xC3\xA4";
  const std::string file = dir.File(umlauts + ".ini");
  ASSERT_TRUE(profile.WriteString("s", "k", "1", file));
  ASSERT_TRUE(profile.WriteString("s", "k", "2", file));
  EXPECT_EQ(profile.GetString("s", "k", "", 2048, file), "2");
  EXPECT_EQ(EntriesOf(dir.path()).size(), 4u) << "no temporary file left behind";
}

TEST(IniFileProfile, NamesWithoutFullPathLieInTheGivenFolder) {
  TempDir dir;
  IniFileProfile profile;
  profile.SetFolderForRelativeNames(dir.path().string());
  ASSERT_TRUE(profile.WriteString("s", "k", "v", "plain.ini"));
  EXPECT_EQ(ReadBytes(dir.File("plain.ini")), "[s]\r\nk=v\r\n");
  EXPECT_EQ(profile.GetString("s", "k", "", 2048, "plain.ini"), "v");
  fs::create_directory(dir.path() / "sub");
  ASSERT_TRUE(profile.WriteString("s", "k", "w", "sub/../sub/x.ini"));
  EXPECT_EQ(profile.GetString("s", "k", "", 2048, dir.File("sub/x.ini")), "w");
  EXPECT_FALSE(profile.WriteString("s", "k", "v", ""));
  EXPECT_EQ(profile.GetString("s", "k", "d", 2048, ""), "d");
}

TEST(IniFileProfile, RefusedWritesLeaveNothingBehind) {
  TempDir dir;
  IniFileProfile profile;
  EXPECT_FALSE(profile.WriteString("s", "k", "v", ""));
  EXPECT_FALSE(profile.WriteString("s", "k", "v", dir.File("missing/folder.ini")));
  EXPECT_FALSE(profile.WriteString("s", "k", "v",
                                   dir.path().string()));  // a folder where the file should be
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
                                         IniFileProfile::WriteStep::kSyncTemp,
                                         IniFileProfile::WriteStep::kRename));

// Runs the write probe as a user whom modes bind: as root through setpriv
// as "nobody", whose files the test hands over first; as anyone else
// directly. Returns the probe's exit code, or -1 when no such user can be
// had here.
int WriteAsUnprivilegedUser(const std::string& file, const std::string& value,
                            const std::vector<fs::path>& hand_over = {}) {
  std::string command;
  if (::geteuid() == 0) {
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) return -1;
    for (const fs::path& path : hand_over) {
      if (::chown(path.c_str(), kNobody, kNobody) != 0) return -1;
    }
    command = "setpriv --reuid=" + std::to_string(kNobody) + " --regid=" + std::to_string(kNobody) +
              " --clear-groups ";
  }
  command += std::string("'") + VELKORA_INI_WRITE_PROBE + "' '" + file + "' Fenster Breite '" +
             value + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A writable settings file in a folder the user may not change (an
// installation folder, a shared configuration folder): the platform's
// functions write it, so the profile must too, in place.
TEST(IniFileProfile, ReadOnlyFolderWritesTheFileInPlace) {
  TempDir dir;
  const fs::path folder = dir.path() / "locked";
  fs::create_directory(folder);
  const std::string file = (folder / "a.ini").string();
  WriteBytes(file, kOriginal);
  fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_exec);
  const int before = WriteAsUnprivilegedUser(file, "11", {folder, file});
  if (before == -1) GTEST_SKIP() << "no unprivileged user to write as";
  ASSERT_EQ(before, 0) << "while the folder was still writable";
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const ino_t inode = InodeOf(file);

  ASSERT_EQ(WriteAsUnprivilegedUser(file, "99"), 0);
  IniFileProfile profile;
  EXPECT_EQ(profile.GetString("Fenster", "Breite", "", 2048, file), "99");
  EXPECT_EQ(ReadBytes(file), "; settings\r\n[Fenster]\r\nBreite=99\r\n\r\n[LCR]\r\nAktiv=1\r\n");
  EXPECT_EQ(InodeOf(file), inode);
  ASSERT_EQ(WriteAsUnprivilegedUser(file, ""), 0) << "shorter content is cut to its length";
  EXPECT_EQ(ReadBytes(file), "; settings\r\n[Fenster]\r\nBreite=\r\n\r\n[LCR]\r\nAktiv=1\r\n");
  EXPECT_EQ(EntriesOf(folder), std::vector<std::string>{"a.ini"});

  // A file that is not there cannot be created in such a folder.
  const std::string absent = (folder / "new.ini").string();
  EXPECT_EQ(WriteAsUnprivilegedUser(absent, "1"), 1);
  EXPECT_FALSE(fs::exists(absent));
  // Nor is a file written that the user may not write.
  fs::permissions(file, fs::perms::owner_read);
  EXPECT_EQ(WriteAsUnprivilegedUser(file, "5"), 1);
  EXPECT_NE(ReadBytes(file).find("Breite=\r\n"), std::string::npos);
}

// A shared, group-writable file in a sticky folder (as /tmp is) that
// belongs to someone else: a replacement could neither take the place of
// the other user's file nor keep its owner, so the file is written in place.
TEST(IniFileProfile, AnotherUsersWritableFileKeepsItsOwner) {
  TempDir dir;
  const fs::path folder = dir.path() / "shared";
  fs::create_directory(folder);
  const std::string file = (folder / "a.ini").string();
  WriteBytes(file, kOriginal);
  fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_exec);
  fs::permissions(folder, fs::perms::all | fs::perms::sticky_bit);
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read |
                            fs::perms::others_write);
  if (::geteuid() != 0) GTEST_SKIP() << "needs a second user to own the file";
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  const int result = WriteAsUnprivilegedUser(file, "42");
  if (result == -1) GTEST_SKIP() << "no unprivileged user to write as";
  ASSERT_EQ(result, 0);
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(IniFileProfile().GetString("Fenster", "Breite", "", 2048, file), "42");
  EXPECT_EQ(EntriesOf(folder), std::vector<std::string>{"a.ini"});
}

// Every name of a hard-linked file must see the new content.
TEST(IniFileProfile, HardLinkedFileIsWrittenInPlace) {
  TempDir dir;
  const std::string file = dir.File("a.ini");
  const std::string other = dir.File("b.ini");
  WriteBytes(file, kOriginal);
  fs::create_hard_link(file, other);
  IniFileProfile profile;
  ASSERT_TRUE(profile.WriteString("Fenster", "Breite", "77", file));
  ASSERT_TRUE(profile.WriteString("Neu", "k", "v", other));
  EXPECT_EQ(ReadBytes(other), kOriginal.substr(0, kOriginal.find("10")) + "77" +
                                  kOriginal.substr(kOriginal.find("10") + 2) + "[Neu]\r\nk=v\r\n");
  EXPECT_EQ(ReadBytes(file), ReadBytes(other));
  EXPECT_EQ(fs::hard_link_count(file), 2u);

  IniFileProfile failing([](IniFileProfile::WriteStep step) {
    return step == IniFileProfile::WriteStep::kWriteInPlace;
  });
  const std::string content = ReadBytes(file);
  EXPECT_FALSE(failing.WriteString("Fenster", "Breite", "1", file));
  EXPECT_EQ(ReadBytes(file), content);
}

TEST(IniFileProfile, ReplacementKeepsPermissionBits) {
  TempDir dir;
  IniFileProfile profile;
  for (const fs::perms perms :
       {fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
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
