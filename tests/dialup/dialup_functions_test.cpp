#include "dialup/dialup_functions.h"

#include <gtest/gtest.h>

#include "fakes/fake_dialup.h"
#include "fakes/shell_fixture.h"

namespace velkora {
namespace {

constexpr char kStamp[] = "07.12.2026 07:58:30 ";

std::string Lines(std::initializer_list<std::string> lines) {
  std::string log;
  for (const std::string& line : lines) log += kStamp + line + "\r\n";
  return log;
}

class DialupFunctionsTest : public ::testing::Test {
 protected:
  fakes::ShellFixture f;
  ScriptFrame frame{f.shell};
  fakes::FakeRasLibrary lib;
  fakes::FakeMessagePump pump;
  TRAS ras{lib, pump};
  fakes::FakePerfData perf;
};

TEST_F(DialupFunctionsTest, GetRasConnectionNamesTheFirstConnection) {
  EXPECT_EQ(GetRasConnection(frame, ras), "");
  EXPECT_EQ(frame.StatusLine(), "GetRasConnection()-->\"\"");

  lib.connections = {{11, "T-Online"}, {12, "Arcor"}};
  EXPECT_EQ(GetRasConnection(frame, ras), "T-Online");
  EXPECT_EQ(frame.StatusLine(), "GetRasConnection()-->\"T-Online\"");
  EXPECT_EQ(f.Log(),
            Lines({"GetRasConnection()", " --> \"\"", "GetRasConnection()", " --> \"T-Online\""}));
  EXPECT_EQ(lib.Count("HangUp 11"), 0);
}

TEST_F(DialupFunctionsTest, RasCloseWithoutConnectionLogsCallAndEmptyResult) {
  EXPECT_EQ(RasClose(frame, ras), "");
  EXPECT_EQ(f.Log(), Lines({"RasClose()", " --> \"\""}));
  lib.available = false;
  TRAS without(lib, pump);
  EXPECT_EQ(RasClose(frame, without), "");
}

TEST_F(DialupFunctionsTest, RasCloseHangsUpEveryConnectionInOrder) {
  fakes::FakeConnection a{11, "A"}, b{12, "B"};
  a.polls_after_hang_up = 2;
  lib.connections = {a, b};
  EXPECT_EQ(RasClose(frame, ras), "B");
  EXPECT_TRUE(lib.connections.empty());
  EXPECT_EQ(ras.RASConn(), 0u);
  EXPECT_EQ(f.Log(), Lines({"RasClose()", " Schließe A", " Schließe B", " --> \"B\""}));
  EXPECT_EQ(frame.StatusLine(), "RasClose()-->\"B\"");
}

TEST_F(DialupFunctionsTest, RasCloseGivesUpOnAStuckConnectionAndGoesOn) {
  fakes::FakeConnection a{11, "A"}, b{12, "B"};
  a.polls_after_hang_up = -1;
  lib.connections = {a, b};
  const uint64_t start = pump.now_ms;
  EXPECT_EQ(RasClose(frame, ras), "B");
  EXPECT_EQ(lib.Count("HangUp 11"), 1);
  EXPECT_EQ(lib.Count("HangUp 12"), 1);
  EXPECT_TRUE(lib.Listed(11));
  EXPECT_FALSE(lib.Listed(12));
  EXPECT_LE(pump.now_ms - start, TRAS::kHangUpWaitLimitMs + TRAS::kPollPauseMs);
  EXPECT_EQ(f.Log(), Lines({"RasClose()", " Schließe A",
                            " A ist nach 30 Sekunden noch verbunden, Warten abgebrochen",
                            " Schließe B", " --> \"B\""}));
}

TEST_F(DialupFunctionsTest, RasCloseIgnoresFailedHangUps) {
  fakes::FakeConnection a{11, "A"};
  lib.connections = {a};
  lib.hang_up_result = 668;
  EXPECT_EQ(RasClose(frame, ras), "A");
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(DialupFunctionsTest, GetPerfStatsReadsFourBinaryBytesLittleEndian) {
  perf.values["Dial-Up Adapter\\ConnectSpeed"] = {kRegBinary, {0x00, 0xE1, 0x00, 0x00}};
  perf.values["Neg"] = {kRegBinary, {0xFE, 0xFF, 0xFF, 0xFF}};
  perf.values["Untyped"] = {kRegNone, {1, 0, 0, 0}};
  perf.values["Multi"] = {7, {2, 0, 0, 0}};
  perf.values["Short"] = {kRegBinary, {1, 2}};
  EXPECT_EQ(GetPerfStats(frame, perf, "Dial-Up Adapter\\ConnectSpeed"), 57600);
  EXPECT_EQ(frame.StatusLine(), "GetPerfStats(\"Dial-Up Adapter\\ConnectSpeed\")-->57600");
  EXPECT_EQ(GetPerfStats(frame, perf, "Neg"), -2);
  EXPECT_EQ(GetPerfStats(frame, perf, "Untyped"), 1);
  EXPECT_EQ(GetPerfStats(frame, perf, "Multi"), 2);
  EXPECT_EQ(GetPerfStats(frame, perf, "Short"), 0);
  EXPECT_EQ(GetPerfStats(frame, perf, "Missing"), 0);
  EXPECT_EQ(frame.StatusLine(), "GetPerfStats(\"Missing\")-->0");
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(DialupFunctionsTest, GetPerfStatsRefusesTextDwordAndLongValues) {
  perf.values["Dword"] = {kRegDword, {1, 0, 0, 0}};
  perf.values["Text"] = {kRegSz, {'1', 0}};
  perf.values["Expand"] = {kRegExpandSz, {'1', 0}};
  perf.values["Long"] = {kRegBinary, {1, 2, 3, 4, 5}};
  for (const char* key : {"Dword", "Text", "Expand", "Long"}) {
    f.files.files.clear();
    f.boxes.shown.clear();
    EXPECT_EQ(GetPerfStats(frame, perf, key), 0) << key;
    const std::string message = std::string("Ungültiger Datentyp für '") + key + "'";
    ASSERT_EQ(f.boxes.shown.size(), 1u) << key;
    EXPECT_EQ(f.boxes.shown[0].text, "Exception: " + message);
    EXPECT_EQ(f.boxes.shown[0].caption, "Fehler in Velkora");
    EXPECT_EQ(f.Log(),
              Lines({std::string("GetPerfStats(\"") + key + "\")", " Exception: " + message}));
  }
}

}  // namespace
}  // namespace velkora
