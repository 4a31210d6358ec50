#include "automation/registration.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "fakes/fake_platform.h"

namespace velkora {
namespace {

struct SwitchCase {
  std::vector<std::string> params;
  StartMode mode;
};

class StartModeTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(StartModeTest, FromSwitches) {
  EXPECT_EQ(StartModeFromSwitches(GetParam().params), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, StartModeTest,
    ::testing::Values(SwitchCase{{}, StartMode::kNormal},
                      SwitchCase{{"TESTMODE"}, StartMode::kNormal},
                      SwitchCase{{"-regserver"}, StartMode::kRegister},
                      SwitchCase{{"/RegServer"}, StartMode::kRegister},
                      SwitchCase{{"/REGSERVER"}, StartMode::kRegister},
                      SwitchCase{{"regserver"}, StartMode::kNormal},
                      SwitchCase{{"--regserver"}, StartMode::kNormal},
                      SwitchCase{{"/regserverx"}, StartMode::kNormal},
                      SwitchCase{{"-Embedding"}, StartMode::kAutomation},
                      SwitchCase{{"/automation"}, StartMode::kAutomation},
                      SwitchCase{{"/RegServer", "/Embedding"}, StartMode::kAutomation},
                      SwitchCase{{"/UnregServer", "-regserver"}, StartMode::kRegister},
                      SwitchCase{{"x", "/unregserver"}, StartMode::kUnregister}));

const std::string kClsidKey = "CLSID\\{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}";

TEST(ClassRegistry, EntriesInWritingOrder) {
  const auto entries = ClassRegistryEntries("C:\\Tools\\velkora.exe", "C:\\TOOLS\\VELKORA.EXE");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {kClsidKey, "App Objekt"},
      {kClsidKey + "\\LocalServer32", "C:\\Tools\\velkora.exe"},
      {"ScriptFunctions.App", "App Objekt"},
      {"ScriptFunctions.App\\Clsid", "{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}"},
      {kClsidKey + "\\ProgID", "ScriptFunctions.App"},
      {kClsidKey + "\\Version", "1.0"},
      {kClsidKey + "\\TypeLib", "{48CBD5C0-7312-11D3-97E5-0080AD72B2B2}"},
  };
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].key, expected[i].first);
    EXPECT_EQ(entries[i].value, expected[i].second);
  }
  const auto blank =
      ClassRegistryEntries("C:\\Program Files\\velkora.exe", "C:\\PROGRA~1\\VELKORA.EXE");
  EXPECT_EQ(blank[1].value, "C:\\PROGRA~1\\VELKORA.EXE");
}

TEST(ClassRegistry, APathWithABlankAndNoShortFormIsQuoted) {
  // Without short names the system gives back the long path.
  const std::string long_path = "C:\\Program Files\\Velkora\\velkora.exe";
  EXPECT_EQ(ClassRegistryEntries(long_path, long_path)[1].value,
            "\"C:\\Program Files\\Velkora\\velkora.exe\"");
  // Only the path with a blank is quoted, whichever form it comes in.
  EXPECT_EQ(ClassRegistryEntries("C:\\Tools\\velkora.exe", "C:\\Tools\\velkora.exe")[1].value,
            "C:\\Tools\\velkora.exe");
  EXPECT_EQ(ClassRegistryEntries("C:\\Tools\\velkora.exe", "C:\\My Tools\\velkora.exe")[1].value,
            "C:\\Tools\\velkora.exe");
}

TEST(ClassRegistry, RemovalInReverseOrder) {
  fakes::FakeClassesRegistry reg;
  const auto entries = ClassRegistryEntries("C:\\v.exe", "C:\\v.exe");
  EXPECT_FALSE(UpdateRegistry(StartMode::kNormal, reg, entries));
  reg.operations.clear();
  EXPECT_TRUE(UpdateRegistry(StartMode::kUnregister, reg, entries));
  EXPECT_TRUE(reg.keys.empty());
  const std::vector<std::string> expected = {"delete " + kClsidKey + "\\TypeLib",
                                             "delete " + kClsidKey + "\\Version",
                                             "delete " + kClsidKey + "\\ProgID",
                                             "delete ScriptFunctions.App\\Clsid",
                                             "delete ScriptFunctions.App",
                                             "delete " + kClsidKey + "\\LocalServer32",
                                             "delete " + kClsidKey};
  EXPECT_EQ(reg.operations, expected);
}

TEST(ClassRegistry, FirstFailureStopsAndIsRaisedOnlyInRegisterMode) {
  const auto entries = ClassRegistryEntries("C:\\v.exe", "C:\\v.exe");
  for (StartMode mode : {StartMode::kNormal, StartMode::kAutomation, StartMode::kRegister}) {
    fakes::FakeClassesRegistry reg;
    reg.fail_on = "ScriptFunctions.App";
    if (mode == StartMode::kRegister) {
      try {
        UpdateRegistry(mode, reg, entries);
        ADD_FAILURE() << "no error";
      } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "Fehler beim Erstellen eines Eintrages in die Systemregistrierung");
      }
    } else {
      EXPECT_FALSE(UpdateRegistry(mode, reg, entries));
    }
    EXPECT_EQ(reg.operations.size(), 2u);  // 2a and 2b, nothing after the failure
  }
}

class FakeProcessReference : public ServerProcessReference {
 public:
  uint32_t AddRef() override { return ++refs; }
  uint32_t Release() override { return --refs; }
  uint32_t refs = 0;
};

TEST(ObjectCounter, AutomationStartEndsWithTheLastObject) {
  FakeProcessReference process;
  ObjectCounter counter(StartMode::kAutomation, &process);
  counter.ObjectCreated();
  counter.ObjectCreated();
  EXPECT_EQ(process.refs, 2u);
  EXPECT_FALSE(counter.ObjectDestroyed());
  EXPECT_TRUE(counter.ObjectDestroyed());
  EXPECT_EQ(counter.Count(), 0);

  ObjectCounter without_platform_count(StartMode::kAutomation);
  without_platform_count.ObjectCreated();
  EXPECT_TRUE(without_platform_count.ObjectDestroyed());
}

TEST(ObjectCounter, TheEndWithdrawsTheClassObjectFirstAndServesLateClients) {
  FakeProcessReference process;
  ObjectCounter counter(StartMode::kAutomation, &process);
  counter.ObjectCreated();
  EXPECT_TRUE(counter.ObjectDestroyed());
  // A client came back before the first pause was over: nothing happens.
  counter.ObjectCreated();
  EXPECT_FALSE(counter.Withdraw());
  EXPECT_FALSE(counter.DecideToEnd()) << "not before the class object was withdrawn";
  EXPECT_TRUE(counter.ObjectDestroyed());
  // Withdrawn; a call comes in from a client that found the class object
  // before: it is put back, and the end starts over.
  EXPECT_TRUE(counter.Withdraw());
  EXPECT_TRUE(counter.Withdrawn());
  EXPECT_FALSE(counter.Withdraw()) << "once";
  EXPECT_TRUE(counter.CallCameIn());
  EXPECT_FALSE(counter.CallCameIn()) << "calls while serving change nothing";
  EXPECT_FALSE(counter.DecideToEnd());
  // Withdrawn again, and no call came: the end, which is final.
  EXPECT_TRUE(counter.Withdraw());
  EXPECT_TRUE(counter.DecideToEnd());
  EXPECT_TRUE(counter.Ending());
  EXPECT_FALSE(counter.CallCameIn());
  EXPECT_FALSE(counter.Withdraw());
  EXPECT_TRUE(counter.Ending());
}

TEST(StartModes, OnlyAStartByComWaitsForAnEndingInstance) {
  EXPECT_EQ(WhenRunningFor(StartMode::kAutomation), WhenRunning::kWait);
  EXPECT_EQ(WhenRunningFor(StartMode::kRegister), WhenRunning::kRegisterOnly);
  EXPECT_EQ(WhenRunningFor(StartMode::kUnregister), WhenRunning::kRegisterOnly);
  EXPECT_EQ(WhenRunningFor(StartMode::kNormal), WhenRunning::kEnd);
}

TEST(ObjectCounter, ManualStartKeepsRunning) {
  FakeProcessReference process;
  ObjectCounter counter(StartMode::kNormal, &process);
  counter.ObjectCreated();
  EXPECT_EQ(process.refs, 0u);
  EXPECT_FALSE(counter.ObjectDestroyed());
}

TEST(CloseQuestion, AskedOnlyWithLiveObjects) {
  fakes::FakeMessageBoxes boxes;
  ObjectCounter counter(StartMode::kNormal);
  EXPECT_TRUE(ConfirmClose(counter, true, boxes));
  EXPECT_TRUE(boxes.shown.empty());

  counter.ObjectCreated();
  EXPECT_TRUE(ConfirmClose(counter, false, boxes));
  EXPECT_TRUE(boxes.shown.empty());

  boxes.answers = {BoxResult::kNo, BoxResult::kYes};
  EXPECT_FALSE(ConfirmClose(counter, true, boxes));
  EXPECT_TRUE(ConfirmClose(counter, true, boxes));
  ASSERT_EQ(boxes.shown.size(), 2u);
  const auto& box = boxes.shown[0];
  EXPECT_EQ(box.caption, "Warnung des COM-Servers");
  EXPECT_EQ(box.text,
            "Diese Anwendung enthält noch aktive COM-Objekte. Mindestens ein Client verweist noch "
            "auf diese Objekte so daß manuelles Schließen dieser Anwendung dazu führen könnte, daß "
            "die Client-Anwendungen nicht korrekt funktionieren.\r\n\r\nSind Sie sicher, daß Sie "
            "diese Anwendung schließen möchten?");
  EXPECT_EQ(box.icon, BoxIcon::kWarning);
  EXPECT_EQ(box.buttons, BoxButtons::kYesNo);
  EXPECT_TRUE(box.default_no);
  EXPECT_TRUE(box.task_modal);
}

}  // namespace
}  // namespace velkora
