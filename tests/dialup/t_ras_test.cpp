#include "dialup/t_ras.h"

#include <gtest/gtest.h>

#include <memory>

#include "fakes/fake_dialup.h"

namespace velkora {
namespace {

using fakes::FakeConnection;

class TRASTest : public ::testing::Test {
 protected:
  fakes::FakeRasLibrary lib;
  fakes::FakeMessagePump pump;
  std::unique_ptr<TRAS> ras = std::make_unique<TRAS>(lib, pump);

  // Finds the first connection and attaches it.
  void Attach() {
    ASSERT_FALSE(ras->QueryCurrentConnection().empty());
    ASSERT_EQ(ras->AttachConnection(0), kRasOk);
  }
};

TEST_F(TRASTest, WithoutDialUpNetworkingEverythingFailsSoftlyAndTheLoadIsNotRetried) {
  lib.available = false;
  EXPECT_EQ(ras->QueryCurrentConnection(), "");
  EXPECT_EQ(ras->LastError(), kRasErrorNotAvailable);
  EXPECT_EQ(ras->AttachConnection(0), kRasErrorInvalidHandle);
  EXPECT_EQ(ras->HangUpAndWait(), 0u);
  EXPECT_EQ(ras->ReadPhoneBookEntries(), kRasErrorNotAvailable);
  EXPECT_EQ(lib.Count("Load"), 1);
  EXPECT_EQ(lib.Count("Enum"), 0);
}

TEST_F(TRASTest, QueryFindsTheFirstConnectionEveryTime) {
  EXPECT_EQ(ras->QueryCurrentConnection(), "");
  EXPECT_EQ(ras->LastError(), kRasOk);
  EXPECT_EQ(ras->NumConns(), 0u);
  // Nothing found: nothing to attach.
  EXPECT_EQ(ras->AttachConnection(0), kRasErrorInvalidHandle);
  EXPECT_EQ(ras->LastError(), kRasErrorInvalidHandle);
  EXPECT_EQ(ras->RASConn(), 0u);

  lib.connections = {{11, "Arcor"}, {12, "Bonn"}};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(ras->QueryCurrentConnection(), "Arcor");
    EXPECT_EQ(ras->CurRASConn(), 11u);
    EXPECT_EQ(ras->NumConns(), 2u);
  }
  const uintptr_t first = 11;
  EXPECT_EQ(ras->QueryCurrentConnection({&first, 1}), "Bonn");
  EXPECT_EQ(ras->CurRASConn(), 12u);
  const uintptr_t both[] = {11, 12};
  EXPECT_EQ(ras->QueryCurrentConnection(both), "");
  EXPECT_EQ(ras->CurRASConn(), 0u);
  EXPECT_EQ(ras->CurConnName(), "");
}

TEST_F(TRASTest, MoreConnectionsThanRoomStillGiveTheFirstRecord) {
  for (uintptr_t h = 1; h <= 5; ++h) lib.connections.push_back({h, "E" + std::to_string(h)});
  EXPECT_EQ(ras->QueryCurrentConnection(), "E1");
  EXPECT_EQ(ras->LastError(), kRasErrorBufferTooSmall);
  EXPECT_EQ(ras->NumConns(), 5u);

  // A platform that leaves the room blank yields a blank first record.
  lib.blank_when_too_small = true;
  EXPECT_EQ(ras->QueryCurrentConnection(), "");
  EXPECT_EQ(ras->CurRASConn(), 0u);

  lib.enum_result = 632;
  EXPECT_EQ(ras->QueryCurrentConnection(), "");
  EXPECT_EQ(ras->LastError(), 632u);
}

TEST_F(TRASTest, PollWithoutAttachedConnectionLeavesLastErrorAlone) {
  lib.connections = {{11, "Arcor", 5, 0}};
  ras->QueryCurrentConnection();
  ASSERT_EQ(ras->LastError(), kRasOk);
  EXPECT_EQ(ras->PollConnectStatus(), kRasErrorNotConnected);
  EXPECT_EQ(ras->LastError(), kRasOk);
  EXPECT_EQ(lib.Count("Status 11"), 0);

  EXPECT_EQ(ras->AttachConnection(0), kRasOk);
  EXPECT_EQ(ras->RASConn(), 11u);
  EXPECT_EQ(ras->ConnectState(), 5);
  // An index into a list of connections names nothing here.
  lib.connections.push_back({12, "Bonn"});
  TRAS other(lib, pump);
  other.QueryCurrentConnection();
  EXPECT_EQ(other.AttachConnection(1), kRasErrorInvalidHandle);
  EXPECT_EQ(other.RASConn(), 0u);
}

TEST_F(TRASTest, ConnectionErrorAbove600BecomesLastErrorWithItsText) {
  lib.connections = {{11, "Arcor", 8192, 678}};
  lib.error_strings[678] = "Keine Antwort";
  ras->QueryCurrentConnection();
  EXPECT_EQ(ras->AttachConnection(0), 678u);
  EXPECT_EQ(ras->LastError(), 678u);
  EXPECT_EQ(ras->ConnectError(), 678);
  EXPECT_EQ(ras->ConnectState(), 8192);
  EXPECT_EQ(ras->StatusStr(), "Keine Antwort");
}

TEST_F(TRASTest, StateTexts) {
  lib.connections = {{11, "Arcor"}};
  lib.error_strings[700] = "RAS-Fehler 700";
  lib.system_texts[650] = "Der Server antwortet nicht.";
  const auto text_of = [&](uint32_t state) {
    lib.connections[0].state = state;
    ras->PollConnectStatus();
    return ras->StateText();
  };
  Attach();
  EXPECT_EQ(text_of(0), "Opening Serial Port");
  EXPECT_EQ(text_of(7), "Unknown State - 7");
  EXPECT_EQ(text_of(9), "Unknown State - 9");
  EXPECT_EQ(text_of(600), "Unknown State - 600");
  EXPECT_EQ(text_of(21), "Logon to Network");
  EXPECT_EQ(text_of(8192), "Connected/Online");
  EXPECT_EQ(text_of(8193), "Disconnected/Offline");
  EXPECT_EQ(text_of(700), "RAS-Fehler 700");
  // No text of the library's own: the system's.
  EXPECT_EQ(text_of(650), "Der Server antwortet nicht.");

  EXPECT_EQ(text_of(2), "Connecting/Dialling");
  ras->SetDeviceType("MODEM");
  EXPECT_EQ(text_of(2), "Connecting/Dialling (modem)");
  EXPECT_EQ(text_of(3), "Connected/Answered (modem)");
  EXPECT_EQ(text_of(4), "Connected/Negotiation");
}

TEST_F(TRASTest, HangUpOfAConnectionThatGoesAtOnceMakesOnePollAndNoStateChange) {
  lib.connections = {{11, "Arcor"}};
  lib.hang_up_result = 5;
  lib.error_strings[kRasErrorInvalidHandle] = "Ungültiges Handle";
  int state_changes = 0;
  ras->OnStateChanged([&](TRAS&) { ++state_changes; });
  Attach();
  lib.calls.clear();

  EXPECT_EQ(ras->HangUpAndWait(), 5u);
  EXPECT_EQ(lib.calls, (std::vector<std::string>{"HangUp 11", "Status 11"}));
  EXPECT_EQ(state_changes, 0);
  EXPECT_EQ(pump.calls, 0);
  EXPECT_EQ(ras->RASConn(), 0u);
  EXPECT_EQ(ras->LastError(), 5u);
  EXPECT_FALSE(ras->HangUpTimedOut());
  // The failing poll leaves its text.
  EXPECT_EQ(ras->StatusStr(), "Ungültiges Handle");
}

TEST_F(TRASTest, HangUpWaitsServingMessagesAndReportsEachNewState) {
  FakeConnection c{11, "Arcor"};
  c.polls_after_hang_up = 3;
  c.states_after_hang_up = {8192, 8193, 8193};
  lib.connections = {c};
  std::vector<std::string> reported;
  ras->OnStateChanged([&](TRAS& r) { reported.push_back(r.StatusStr()); });
  Attach();

  EXPECT_EQ(ras->HangUpAndWait(), 0u);
  EXPECT_EQ(pump.calls, 3);
  EXPECT_EQ(reported, (std::vector<std::string>{"Connected/Online", "Disconnected/Offline"}));
  EXPECT_EQ(ras->SavedState(), 8193);
  EXPECT_FALSE(lib.Listed(11));
}

TEST_F(TRASTest, HangUpGivesUpOnAConnectionThatNeverGoes) {
  FakeConnection c{11, "Arcor"};
  c.polls_after_hang_up = -1;
  lib.connections = {c};
  Attach();
  const uint64_t start = pump.now_ms;

  EXPECT_EQ(ras->HangUpAndWait(), 0u);
  EXPECT_TRUE(ras->HangUpTimedOut());
  EXPECT_GE(pump.now_ms - start, TRAS::kHangUpWaitLimitMs);
  EXPECT_LT(pump.now_ms - start, TRAS::kHangUpWaitLimitMs + TRAS::kPollPauseMs + 1);
  EXPECT_EQ(lib.Count("HangUp 11"), 1);
  EXPECT_EQ(ras->RASConn(), 0u);
  EXPECT_TRUE(lib.Listed(11));

  // The next wait starts afresh.
  lib.connections.push_back({12, "Bonn"});
  const uintptr_t stuck = 11;
  ras->QueryCurrentConnection({&stuck, 1});
  ras->AttachConnection(0);
  ras->HangUpAndWait();
  EXPECT_FALSE(ras->HangUpTimedOut());
}

TEST_F(TRASTest, ACallInsideTheWaitThatHangsUpTooEndsTheOuterWait) {
  FakeConnection c{11, "Arcor"};
  c.polls_after_hang_up = -1;
  lib.connections = {c};
  Attach();
  int nested = 0;
  pump.inside = [&] {
    if (nested++ == 0) ras->HangUpAndWait();  // detaches the connection
  };
  ras->HangUpAndWait();
  EXPECT_EQ(ras->RASConn(), 0u);
  // The outer wait ended at its next poll; only the nested one ran out.
  EXPECT_LT(pump.now_ms, 1000 + 2 * TRAS::kHangUpWaitLimitMs);
}

TEST_F(TRASTest, DisconnectEventGetsTheCodeOfOneMorePoll) {
  lib.connections = {{11, "Arcor"}};
  lib.error_strings[kRasErrorInvalidHandle] = "Ungültiges Handle";
  std::vector<std::pair<uint32_t, std::string>> events;
  ras->OnDisconnect(
      [&](TRAS&, uint32_t code, const std::string& text) { events.emplace_back(code, text); });
  Attach();
  EXPECT_EQ(ras->HangUpAndWait(), 0u);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].first, kRasErrorInvalidHandle);
  EXPECT_EQ(events[0].second, "Ungültiges Handle");
  EXPECT_EQ(ras->LastError(), kRasErrorInvalidHandle);
}

TEST_F(TRASTest, HangUpNowDoesNotWait) {
  FakeConnection c{11, "Arcor"};
  c.polls_after_hang_up = -1;
  lib.connections = {c};
  Attach();
  lib.calls.clear();
  EXPECT_EQ(ras->HangUpNow(), 0u);
  EXPECT_EQ(lib.calls, std::vector<std::string>{"HangUp 11"});
  EXPECT_EQ(ras->RASConn(), 0u);
}

TEST_F(TRASTest, DestructorHangsUpAnAttachedConnectionBeforeFreeingTheLibrary) {
  lib.connections = {{11, "Arcor"}};
  Attach();
  lib.calls.clear();
  ras.reset();
  EXPECT_EQ(lib.calls, (std::vector<std::string>{"HangUp 11", "Unload"}));

  // A component that never needed the library leaves it alone.
  lib.calls.clear();
  { TRAS unused(lib, pump); }
  EXPECT_TRUE(lib.calls.empty());
}

TEST_F(TRASTest, PhoneBookEntriesSkipEmptyNames) {
  lib.entries = {"Arcor", "", "Bonn"};
  ras->SetPhoneBookPath("C:\\rasphone.pbk");
  EXPECT_EQ(ras->PhoneBookEntries(), (std::vector<std::string>{"Arcor", "Bonn"}));
  EXPECT_EQ(lib.calls.back(), "Entries C:\\rasphone.pbk");

  lib.entries_result = 623;
  EXPECT_EQ(ras->ReadPhoneBookEntries(), 623u);
  EXPECT_EQ(ras->LastError(), 623u);
  EXPECT_TRUE(ras->PhoneBookEntries().empty());
}

}  // namespace
}  // namespace velkora
