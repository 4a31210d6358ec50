#include "server/startup.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>

#include "base/error.h"
#include "fakes/fake_platform.h"

namespace velkora {
namespace {

constexpr const char* kIni = "/cfg/velkora.ini";
constexpr const char* kLog = "/state/velkora.log";

// Records the hooks in the order they run.
class RecordingHooks : public HostHooks {
 public:
  void InstanceLockTaken() override { calls.push_back("prepare"); }
  std::optional<int> InitializeAutomation(const std::vector<std::string>&) override {
    calls.push_back("initialize");
    return exit_at_initialize;
  }
  void MainWindowCreated(THaupt&) override { calls.push_back("created"); }
  void RunMessageLoop(THaupt& haupt) override {
    calls.push_back("loop");
    if (in_loop) in_loop(haupt);
  }
  void RevokeClassObjects() override { calls.push_back("revoke"); }
  void MainWindowDestroying(THaupt&) override { calls.push_back("destroying"); }
  void UninitializeAutomation() override { calls.push_back("uninitialize"); }

  std::vector<std::string> calls;
  std::optional<int> exit_at_initialize;
  std::function<void(THaupt&)> in_loop;
};

class StartupTest : public ::testing::Test {
 protected:
  fakes::FakePlatform platform;
  fakes::FakeProfile& profile = platform.profile;
  fakes::FakeFileSystem& files = platform.files;
  fakes::FakeMessageBoxes& boxes = platform.boxes;
  fakes::FakeLockFactory& locks = platform.locks;
  RecordingHooks hooks;
  TPerlre perlre{true, kPerlreCaseless};

  int Run(std::vector<std::string> params, WhenRunning when_running = WhenRunning::kEnd) {
    ServerConfig config{std::move(params), kIni, kLog};
    config.when_running = when_running;
    return RunServer(config, platform, perlre, hooks);
  }
  // Another instance holds the lock until the result goes.
  std::unique_ptr<NamedLock> HoldLock() {
    LockResult held = locks.Acquire(std::string(kInstanceLockName));
    EXPECT_TRUE(held);
    return held ? std::move(*held) : nullptr;
  }
  void Set(const char* key, const char* value) { profile.Set(kIni, "Fenster", key, value); }
  std::optional<std::string> Get(const char* key) { return profile.Get(kIni, "Fenster", key); }
  // The log without timestamps: every line's text after "dd.mm.yyyy hh:nn:ss ".
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    const std::string& log = files.files[kLog];
    std::size_t start = 0;
    while (start < log.size()) {
      const std::size_t end = log.find("\r\n", start);
      lines.push_back(log.substr(start + 20, end - start - 20));
      start = end + 2;
    }
    return lines;
  }
};

TEST_F(StartupTest, StartLinesForZeroParameters) {
  Set("SchreibeLog", "1");
  EXPECT_EQ(Run({"/opt/velkora/bin/velkora"}), kExitOk);
  EXPECT_EQ(files.files[kLog].substr(0, 20), "07.12.2026 07:58:30 ");
  const std::vector<std::string> expected = {"Start Velkora Version " + std::string(kVersion),
                                             "Kommandozeileninformation",
                                             " Anzahl Parameter: 0",
                                             " Nummmer:0 Wert:</opt/velkora/bin/velkora>",
                                             "Application.Initialize",
                                             "Application.CreateForm",
                                             "Application.Run",
                                             "Programmende"};
  EXPECT_EQ(LogLines(), expected);
}

TEST_F(StartupTest, StartLinesForTwoParametersOneWithABlank) {
  Set("SchreibeLog", "1");
  Run({"C:\\Tools\\server.exe", "-Embedding", "mit Blank"});
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[2], " Anzahl Parameter: 2");
  EXPECT_EQ(lines[3], " Nummmer:0 Wert:<C:\\Tools\\server.exe>");
  EXPECT_EQ(lines[4], " Nummmer:1 Wert:<-Embedding>");
  EXPECT_EQ(lines[5], " Nummmer:2 Wert:<mit Blank>");
}

TEST_F(StartupTest, SecondInstanceEndsAtOnceWithoutTouchingAnything) {
  const LockResult held = locks.Acquire(std::string(kInstanceLockName));
  ASSERT_TRUE(held);
  files.files[kLog] = "alt";
  Set("SchreibeLog", "1");
  EXPECT_EQ(Run({"/bin/velkora", "/regserver"}), kExitOk);
  EXPECT_EQ(profile.reads, 0);
  EXPECT_TRUE(profile.writes.empty());
  EXPECT_EQ(files.files[kLog], "alt");
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_TRUE(boxes.shown.empty());
}

// A log users may write but not delete (as an installation leaves it)
// still starts empty; one that can neither be emptied nor deleted is
// continued.
TEST_F(StartupTest, OldLogIsEmptiedWhereItCannotBeDeleted) {
  files.files[kLog] = "alter Lauf\r\n";
  files.fail_deletes = true;
  Set("SchreibeLog", "1");
  Run({"/bin/velkora"});
  EXPECT_EQ(files.files[kLog].find("alter Lauf"), std::string::npos);
  EXPECT_EQ(LogLines().front(), "Start Velkora Version 1.1.3");

  files.files[kLog] = "alter Lauf\r\n";
  files.fail_empties = true;
  Run({"/bin/velkora"});
  EXPECT_EQ(files.files[kLog].rfind("alter Lauf\r\n", 0), 0u);
}

TEST_F(StartupTest, LockIsHeldWhileRunningAndReleasedAtTheEnd) {
  hooks.in_loop = [&](THaupt&) { EXPECT_TRUE(locks.Held(std::string(kInstanceLockName))); };
  Run({"/bin/velkora"});
  EXPECT_FALSE(locks.Held(std::string(kInstanceLockName)));
}

TEST_F(StartupTest, AFailedLockDoesNotStopTheStart) {
  locks.fail = true;
  EXPECT_EQ(Run({"/bin/velkora"}), kExitOk);
  EXPECT_EQ(hooks.calls.size(), 7u);
}

TEST_F(StartupTest, SettingsWrittenBackInOrderAndTestModeForcesTheLog) {
  Set("Testmodus", "1");
  Set("SchreibeLog", "0");
  Run({"/bin/velkora"});
  ASSERT_GE(profile.writes.size(), 3u);
  EXPECT_EQ(profile.writes[0].key, "Testmodus");
  EXPECT_EQ(profile.writes[0].value, "1");
  EXPECT_EQ(profile.writes[1].key, "Unsichtbar");
  EXPECT_EQ(profile.writes[1].value, "0");
  EXPECT_EQ(profile.writes[2].key, "SchreibeLog");
  EXPECT_EQ(profile.writes[2].value, "1");
  EXPECT_TRUE(files.FileExists(kLog));
}

TEST_F(StartupTest, WithoutSettingsLoggingIsOffAndKeysAreCreated) {
  files.files[kLog] = "vom letzten Mal";
  Run({"/bin/velkora"});
  EXPECT_EQ(Get("Testmodus"), "0");
  EXPECT_EQ(Get("Unsichtbar"), "0");
  EXPECT_EQ(Get("SchreibeLog"), "0");
  EXPECT_EQ(files.files[kLog], "vom letzten Mal");
}

TEST_F(StartupTest, PreviousLogIsDeletedWhenLogging) {
  Set("SchreibeLog", "1");
  files.files[kLog] = "vom letzten Mal\r\n";
  Run({"/bin/velkora"});
  EXPECT_EQ(LogLines().front(), "Start Velkora Version " + std::string(kVersion));
}

TEST_F(StartupTest, HooksRunInOrderAndThreadTheMainWindow) {
  hooks.in_loop = [](THaupt& haupt) { haupt.VelkoraVersion(); };
  Set("SchreibeLog", "1");
  Run({"/bin/velkora"});
  const std::vector<std::string> expected = {"prepare", "initialize", "created",     "loop",
                                             "revoke",  "destroying", "uninitialize"};
  EXPECT_EQ(hooks.calls, expected);
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 3], "VelkoraVersion()");
  EXPECT_EQ(lines[lines.size() - 2], " --> \"" + VersionDigits(kVersion) + "\"");
  EXPECT_EQ(lines.back(), "Programmende");
}

TEST_F(StartupTest, RegistrationRunEndsAfterInitialize) {
  Set("SchreibeLog", "1");
  hooks.exit_at_initialize = 0;
  EXPECT_EQ(Run({"/bin/velkora", "/regserver"}), 0);
  EXPECT_EQ(LogLines().back(), "Application.Initialize");
  const std::vector<std::string> expected = {"prepare", "initialize", "uninitialize"};
  EXPECT_EQ(hooks.calls, expected);
}

TEST_F(StartupTest, UnwritableSettingsDoNotStopTheServerAndAreLogged) {
  Set("SchreibeLog", "1");
  Set("Testmodus", "1");
  profile.fail_writes = true;
  bool test_mode_seen = false;
  hooks.in_loop = [&](THaupt& haupt) { test_mode_seen = haupt.Start().testmodus; };
  EXPECT_EQ(Run({"C:\\Programme\\velkora.exe", "-Embedding"}), kExitOk);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(test_mode_seen) << "the server runs with the values it read";
  const std::vector<std::string> expected_hooks = {"prepare", "initialize", "created",     "loop",
                                                   "revoke",  "destroying", "uninitialize"};
  EXPECT_EQ(hooks.calls, expected_hooks);
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[5], "Application.Initialize");
  EXPECT_EQ(
      lines[6],
      "Starteinstellungen nicht gespeichert: nach /cfg/velkora.ini kann nicht geschrieben werden");
  EXPECT_EQ(lines[7], "Application.CreateForm");
  EXPECT_EQ(
      lines[9],
      "Fensterposition nicht gespeichert: nach /cfg/velkora.ini kann nicht geschrieben werden");
  EXPECT_EQ(lines[10], "Programmende");
  EXPECT_FALSE(locks.Held(std::string(kInstanceLockName)));
}

TEST_F(StartupTest, AStartByComWaitsForAnInstanceThatIsEnding) {
  auto held = HoldLock();
  locks.while_waiting = [&] { held.reset(); };  // the other instance ends meanwhile
  Set("SchreibeLog", "1");
  EXPECT_EQ(Run({"/bin/velkora", "-Embedding"}, WhenRunning::kWait), kExitOk);
  EXPECT_EQ(locks.waits, std::vector<std::chrono::milliseconds>{kInstanceLockWait});
  EXPECT_EQ(hooks.calls.size(), 7u) << "a whole run";
  EXPECT_EQ(LogLines().front(), "Start Velkora Version " + std::string(kVersion));
}

TEST_F(StartupTest, AStartByComEndsWhenTheInstanceKeepsRunning) {
  auto held = HoldLock();
  files.files[kLog] = "alt";
  Set("SchreibeLog", "1");
  EXPECT_EQ(Run({"/bin/velkora", "-Embedding"}, WhenRunning::kWait), kExitOk);
  EXPECT_EQ(locks.waits.size(), 1u);
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_EQ(profile.reads, 0);
  EXPECT_EQ(files.files[kLog], "alt");
}

TEST_F(StartupTest, RegistrationBesideARunningInstanceLeavesItsSettingsAndLogAlone) {
  auto held = HoldLock();
  files.files[kLog] = "alt";
  Set("SchreibeLog", "1");
  hooks.exit_at_initialize = 0;
  EXPECT_EQ(Run({"/bin/velkora", "/unregserver"}, WhenRunning::kRegisterOnly), kExitOk);
  const std::vector<std::string> expected = {"initialize", "uninitialize"};
  EXPECT_EQ(hooks.calls, expected);
  EXPECT_EQ(profile.reads, 0);
  EXPECT_TRUE(profile.writes.empty());
  EXPECT_EQ(files.files[kLog], "alt");
  EXPECT_TRUE(locks.Held(std::string(kInstanceLockName))) << "still the running instance's";
}

// A registration that fails says so: an error box and a non-zero exit code.
class FailingRegistration : public RecordingHooks {
 public:
  std::optional<int> InitializeAutomation(const std::vector<std::string>& params) override {
    RecordingHooks::InitializeAutomation(params);
    throw Error("Fehler beim Erstellen eines Eintrages in die Systemregistrierung");
  }
};

TEST_F(StartupTest, AFailedRegistrationBesideARunningInstanceIsReported) {
  auto held = HoldLock();
  FailingRegistration failing;
  ServerConfig config{{"/bin/velkora", "/regserver"}, kIni, kLog};
  config.when_running = WhenRunning::kRegisterOnly;
  EXPECT_EQ(RunServer(config, platform, perlre, failing), kExitStartupError);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            "Fehler beim Erstellen eines Eintrages in die Systemregistrierung");
  const std::vector<std::string> expected = {"initialize", "uninitialize"};
  EXPECT_EQ(failing.calls, expected);
}

TEST_F(StartupTest, AnErrorBoxThatFailsForWantOfMemoryEndsTheStartQuietly) {
  hooks.in_loop = [](THaupt&) { throw Error("kaputt"); };
  boxes.inside = [] { throw std::bad_alloc(); };
  EXPECT_EQ(Run({"/bin/velkora"}), kExitStartupError);
  EXPECT_FALSE(locks.Held(std::string(kInstanceLockName)));
}

}  // namespace
}  // namespace velkora
