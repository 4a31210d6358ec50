#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "base/date_time.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_locale.h"
#include "platform/posix/posix_named_lock.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/stderr_message_boxes.h"
#include "support/temp_dir.h"

namespace velkora::posix {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

// ---- named lock ------------------------------------------------------------

// Runs the probe in its own process; returns what it saw.
std::string ProbeLock(const TempDir& dir, const std::string& name, bool crash = false) {
  const std::string result = dir.File("probe-result");
  fs::remove(result);
  const std::string command = std::string("'") + VELKORA_LOCK_PROBE + "' '" + name + "' '" +
                              result + "'" + (crash ? " crash" : "") + " 2>/dev/null";
  [[maybe_unused]] const int status = std::system(command.c_str());
  return ReadBytes(result);
}

std::string UniqueLockName() {
  std::random_device random;
  return "velkora test/" + std::to_string(random());  // '/' and ' ' must be escaped
}

TEST(PosixNamedLock, SecondProcessIsRefusedAtOnce) {
  TempDir dir;
  const std::string name = UniqueLockName();
  PosixNamedLockFactory factory;
  {
    const LockResult lock = factory.Acquire(name);
    ASSERT_TRUE(lock);
    ASSERT_NE(*lock, nullptr);
    EXPECT_EQ(ProbeLock(dir, name), "exists");
    EXPECT_EQ(ProbeLock(dir, name + "-other"), "acquired") << "names are independent";
    // A second acquisition inside this process is refused as well.
    const LockResult again = factory.Acquire(name);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error(), LockFailure::kAlreadyExists);
  }
  EXPECT_EQ(ProbeLock(dir, name), "acquired") << "released with its handle";
  fs::remove(NamedLockPath(name));
  fs::remove(NamedLockPath(name + "-other"));
}

TEST(PosixNamedLock, DiesWithItsProcess) {
  TempDir dir;
  const std::string name = UniqueLockName();
  ASSERT_EQ(ProbeLock(dir, name, /*crash=*/true), "acquired");
  PosixNamedLockFactory factory;
  LockResult lock = factory.Acquire(name);
  ASSERT_TRUE(lock);
  lock->reset();
  fs::remove(NamedLockPath(name));
}

TEST(PosixNamedLock, AWaitingAcquisitionGetsTheLockWhenItsHolderLetsGo) {
  const std::string name = UniqueLockName();
  PosixNamedLockFactory factory;
  LockResult held = factory.Acquire(name);
  ASSERT_TRUE(held);
  // Still held after the wait: refused.
  const LockResult refused = factory.AcquireWaiting(name, std::chrono::milliseconds(30));
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), LockFailure::kAlreadyExists);
  // Let go while the other waits.
  std::thread holder([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    held->reset();
  });
  LockResult lock = factory.AcquireWaiting(name, std::chrono::seconds(20));
  holder.join();
  ASSERT_TRUE(lock);
  EXPECT_NE(*lock, nullptr);
  lock->reset();
  fs::remove(NamedLockPath(name));
}

TEST(PosixNamedLock, DistinctNamesGetDistinctFiles) {
  EXPECT_NE(NamedLockPath("a/b"), NamedLockPath("a_b"));
  EXPECT_NE(NamedLockPath("a b"), NamedLockPath("a%20b"));
  EXPECT_EQ(fs::path(NamedLockPath("../x")).parent_path(),
            fs::path(NamedLockPath("x")).parent_path());
}

// ---- file system -----------------------------------------------------------

TEST(PosixFileSystem, FilesFoldersAndAppending) {
  TempDir dir;
  PosixFileSystem files;
  const std::string log = dir.File("a.log");
  EXPECT_FALSE(files.FileExists(log));
  ASSERT_TRUE(files.AppendToFile(log, "one\r\n"));
  ASSERT_TRUE(files.AppendToFile(log, "two\r\n"));
  EXPECT_EQ(ReadBytes(log), "one\r\ntwo\r\n");
  EXPECT_TRUE(files.FileExists(log));
  EXPECT_FALSE(files.DirectoryExists(log));
  EXPECT_TRUE(files.DirectoryExists(dir.path().string()));
  EXPECT_FALSE(files.FileExists(dir.path().string()));
  EXPECT_FALSE(files.AppendToFile(dir.File("missing/a.log"), "x"));
  EXPECT_FALSE(files.RemoveFile(dir.path().string()));
  EXPECT_TRUE(files.EmptyFile(log));
  EXPECT_TRUE(files.FileExists(log));
  EXPECT_EQ(ReadBytes(log), "");
  EXPECT_FALSE(files.EmptyFile(dir.File("none.log")));
  EXPECT_FALSE(files.FileExists(dir.File("none.log")));
  EXPECT_FALSE(files.EmptyFile(dir.path().string()));
  EXPECT_TRUE(files.RemoveFile(log));
  EXPECT_FALSE(files.RemoveFile(log));
  EXPECT_EQ(files.FixedDrives(), std::vector<std::string>{"/"});
}

TEST(PosixFileSystem, ListsMatchingEntries) {
  TempDir dir;
  for (const char* name : {"Alpha.INI", "beta.ini", "gamma.txt", "noext"})
    WriteBytes(dir.File(name), "");
  fs::create_directory(dir.path() / "sub.ini");
  PosixFileSystem files;
  const std::string folder = dir.path().string();
  EXPECT_EQ(files.ListDirectory(folder, "*.ini"),
            (std::vector<std::string>{"Alpha.INI", "beta.ini", "sub.ini/"}));
  EXPECT_EQ(files.ListDirectory(folder, "*.*").size(), 5u);
  EXPECT_EQ(files.ListDirectory(folder, "?eta.*"), std::vector<std::string>{"beta.ini"});
  EXPECT_TRUE(files.ListDirectory(dir.File("missing"), "*").empty());
}

// A walk sees real folders as folders and links as something else, whatever
// they point to, and never opens a path that ends in a link.
TEST(PosixFileSystem, ReadsFoldersForAWalk) {
  TempDir dir;
  fs::create_directories(dir.path() / "sub" / "deeper");
  WriteBytes(dir.File("file.txt"), "x");
  fs::create_directory_symlink(dir.path() / "sub", dir.path() / "link");
  fs::create_symlink(dir.path() / "missing", dir.path() / "dangling");

  PosixFileSystem files;
  FileSystem::FolderIdentity id;
  std::vector<FileSystem::WalkEntry> entries;
  ASSERT_TRUE(files.ReadFolderForWalk(dir.path().string() + "/", id, entries));
  std::map<std::string, bool> seen;
  for (const auto& e : entries) seen[e.name] = e.is_directory;
  EXPECT_EQ(seen, (std::map<std::string, bool>{
                      {"dangling", false}, {"file.txt", false}, {"link", false}, {"sub", true}}));

  FileSystem::FolderIdentity sub, again;
  ASSERT_TRUE(files.ReadFolderForWalk(dir.File("sub") + "/", sub, entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "deeper");
  ASSERT_TRUE(files.ReadFolderForWalk(dir.File("sub/deeper/..") + "/", again, entries));
  EXPECT_EQ(sub, again);
  EXPECT_FALSE(sub == id);

  EXPECT_FALSE(files.ReadFolderForWalk(dir.File("link") + "/", id, entries));
  EXPECT_FALSE(files.ReadFolderForWalk(dir.File("file.txt") + "/", id, entries));
  EXPECT_FALSE(files.ReadFolderForWalk(dir.File("nothing") + "/", id, entries));
  EXPECT_EQ(files.PathSeparator(), '/');
}

TEST(PosixFileSystem, FullPathsComeFromTheCurrentFolder) {
  PosixFileSystem files;
  const std::string here = std::filesystem::current_path().string();
  EXPECT_EQ(files.FullPath("./"), here + "/");
  EXPECT_EQ(files.FullPath("tk32/"), here + "/tk32/");
  EXPECT_EQ(files.FullPath("a/../b/./c"), here + "/b/c");
  EXPECT_EQ(files.FullPath("/opt/tk32/"), "/opt/tk32/");
}

TEST(PosixFileSystem, PseudoFileSystemsAreNoFixedDisk) {
  PosixFileSystem files;
  EXPECT_FALSE(files.IsOnFixedDisk("/proc/"));
  EXPECT_FALSE(files.IsOnFixedDisk("/sys/"));
  EXPECT_TRUE(files.IsOnFixedDisk("/"));
}

TEST(PosixFileSystem, WildcardMatch) {
  const struct {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {{"*", "", true},        {"*", "abc", true},     {"a*c", "abbbc", true},
               {"a*c", "abcd", false}, {"*.*", "noext", true}, {"*.ini", "A.INI", true},
               {"?", "", false},       {"a?c", "abc", true},   {"*b*b", "abxbb", true},
               {"**", "x", true},      {"abc", "ab", false},   {"ab", "abc", false}};
  for (const auto& c : cases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

// ---- locale ----------------------------------------------------------------

FormatSettings FormatsWith(std::map<std::string, std::string> env) {
  PosixLocale locale([env = std::move(env)](const char* name) -> std::optional<std::string> {
    auto it = env.find(name);
    if (it == env.end()) return std::nullopt;
    return it->second;
  });
  return locale.Formats();
}

TEST(PosixLocale, MapsLocaleNames) {
  const FormatSettings german = FormatSettings::German();
  EXPECT_EQ(FormatsWith({{"LANG", "de_DE.UTF-8"}}), german);
  EXPECT_EQ(FormatsWith({{"LANG", "de_AT@euro"}}), german);
  EXPECT_EQ(FormatsWith({{"LANG", "de"}}), german);
  EXPECT_EQ(FormatsWith({}), FormatSettings{});
  EXPECT_EQ(FormatsWith({{"LANG", "C.UTF-8"}}), FormatSettings{});
  EXPECT_EQ(FormatsWith({{"LANG", "xx_NOWHERE"}}), FormatSettings{});
  EXPECT_EQ(FormatsWith({{"LANG", "dex_DE"}}), FormatSettings{});
  EXPECT_EQ(FormatsWith({{"LANG", "de_DE"}, {"LC_ALL", "C"}}), FormatSettings{}) << "LC_ALL wins";
  EXPECT_EQ(FormatsWith({{"LANG", "de_DE"}, {"LC_ALL", ""}}), german)
      << "empty variables are unset";

  const FormatSettings mixed = FormatsWith({{"LANG", "C"}, {"LC_NUMERIC", "de_DE.UTF-8"}});
  EXPECT_EQ(mixed.decimal_separator, ',');
  EXPECT_EQ(mixed.thousand_separator, '.');
  EXPECT_EQ(mixed.short_date_format, FormatSettings{}.short_date_format);

  const FormatSettings time_only = FormatsWith({{"LC_TIME", "de_CH.UTF-8"}});
  EXPECT_EQ(time_only.decimal_separator, '.');
  EXPECT_EQ(time_only.short_date_format, german.short_date_format);
  EXPECT_EQ(time_only.date_separator, german.date_separator);
  EXPECT_EQ(time_only.long_month_names[2], "März");
  EXPECT_EQ(time_only.short_day_names[1], "Mo");
  EXPECT_EQ(FormatsWith({{"LC_TIME", "C"}}).short_month_names[11], "Dec");
}

TEST(PosixLocale, StrftimeFormatsBecomeRuntimeFormats) {
  const struct {
    const char* strftime;
    const char* runtime;
  } cases[] = {{"%d.%m.%Y", "dd.mm.yyyy"},
               {"%m/%d/%y", "mm/dd/yy"},
               {"%Y-%m-%d", "yyyy-mm-dd"},
               {"%e/%m/%Y", "d/mm/yyyy"},
               {"%D", "mm/dd/yy"},
               {"%F", "yyyy-mm-dd"},
               {"%T", "hh:nn:ss"},
               {"%I:%M:%S %p", "hh:nn:ss"},
               {"%r", "hh:nn:ss"},
               {"%Od.%Om.%EY", "dd.mm.yyyy"},
               {"%H.%M", "hh.nn"},
               {"%", ""},
               {"%a %d %b %Y", "ddd dd mmm yyyy"},
               {"%A, %e. %B %Y", "dddd, d. mmmm yyyy"},
               {"%d-%h", "dd-mmm"}};
  for (const auto& c : cases)
    EXPECT_EQ(RuntimeFormatFromStrftime(c.strftime), c.runtime) << c.strftime;
}

// ---- clock -----------------------------------------------------------------

TEST(PosixClock, NowIsTodayInLocalTime) {
  // Days since 30 December 1899 in UTC; local time differs by under a day.
  const double unix_days =
      std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() /
      86400.0;
  const double utc_now = unix_days + 25569.0;
  const DateTime now = PosixClock().Now();
  EXPECT_LT(std::abs(now - utc_now), 1.0);
  const DateTime later = PosixClock().Now();
  EXPECT_GE(later, now);
}

// ---- message boxes ---------------------------------------------------------

TEST(StderrMessageBoxesTest, WritesCaptionAndTextAndAnswersTheDefault) {
  std::ostringstream out;
  StderrMessageBoxes stderr_boxes(out);
  MessageBoxes& boxes = stderr_boxes;
  EXPECT_EQ(boxes.Show("Velkora 1.1.3", "Info", BoxIcon::kInformation), BoxResult::kOk);
  EXPECT_EQ(boxes.Show("Beenden?", "Frage", BoxIcon::kQuestion, BoxButtons::kYesNo),
            BoxResult::kYes);
  EXPECT_EQ(boxes.Show("Beenden?", "Frage", BoxIcon::kQuestion, BoxButtons::kYesNo, true),
            BoxResult::kNo);
  EXPECT_EQ(out.str(), "[Info] Velkora 1.1.3\n[Frage] Beenden?\n[Frage] Beenden?\n");
}

TEST(StderrMessageBoxesTest, WindowsLineBreaksBecomeNewLines) {
  std::ostringstream out;
  StderrMessageBoxes stderr_boxes(out);
  MessageBoxes& boxes = stderr_boxes;
  boxes.Show("erste\r\rzweite\r\ndritte\nvierte", "Info", BoxIcon::kInformation);
  EXPECT_EQ(out.str(), "[Info] erste\n\nzweite\ndritte\nvierte\n");
}

// ---- the bundle --------------------------------------------------------------

TEST(PosixPlatform, HandsOutItsObjectsAndAnswersForWhatPosixLacks) {
  std::ostringstream out;
  const PosixLocale::EnvLookup no_env = [](const char*) -> std::optional<std::string> {
    return std::nullopt;
  };
  PosixPlatform platform(
      {.box_stream = out, .env = no_env, .german_formats = false, .ini_folder = ""});
  EXPECT_EQ(&platform.IniFiles(), &platform.IniFiles());
  EXPECT_EQ(platform.UserLocale().Formats(), FormatSettings{});
  platform.Boxes().Show("Text", "Titel", BoxIcon::kError);
  EXPECT_EQ(out.str(), "[Titel] Text\n");
  EXPECT_TRUE(platform.TopLevelWindows().Snapshot().empty());
  EXPECT_FALSE(platform.Ras().Load());
  std::vector<RasConnection> connections(1);
  uint32_t count = 0;
  EXPECT_EQ(platform.Ras().EnumConnections(4, connections, count), kRasErrorNotAvailable);
  EXPECT_TRUE(connections.empty());
  EXPECT_EQ(platform.Ras().HangUp(1), kRasErrorNotAvailable);
  EXPECT_FALSE(platform.PerfCounters().ReadStatValue("Dial-Up Adapter\\TotalBytesRecvd"));
  EXPECT_FALSE(platform.Tray().NotificationAreaSupported());
  // A wait passes time on the monotonic clock.
  const uint64_t before = platform.Messages().SteadyMs();
  platform.Messages().ProcessMessages(20);
  EXPECT_GE(platform.Messages().SteadyMs() - before, 20u);
  EXPECT_FALSE(platform.Registry().SetDefaultValue("CLSID\\x", "y"));

  TempDir dir;
  PosixPlatform german({.box_stream = out,
                        .env = no_env,
                        .german_formats = true,
                        .ini_folder = dir.path().string()});
  EXPECT_EQ(german.UserLocale().Formats(), FormatSettings::German());
  ASSERT_TRUE(german.IniFiles().WriteString("S", "K", "v", "named.ini"));
  EXPECT_EQ(testing_support::ReadBytes(dir.File("named.ini")), "[S]\r\nK=v\r\n")
      << "a name without path";
}

}  // namespace
}  // namespace velkora::posix
