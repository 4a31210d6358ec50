// The dial-up library, the statistics and the message pump on Windows (run
// under Wine, whose dial-up library knows no connections).
#include <windows.h>
#include <ras.h>

#include <gtest/gtest.h>

#include <cstddef>

#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_perf_data.h"
#include "platform/win32/win32_ras.h"
#include "platform/win32/win32_ras_records.h"

namespace velkora::win32 {
namespace {

// Our records are the published ones without their later fields: same
// offsets, and each ends (padded to the headers' packing of 4) where the
// first field left off begins.
constexpr std::size_t PaddedTo4(std::size_t n) { return (n + 3) / 4 * 4; }

static_assert(offsetof(RasConnRecord, handle) == offsetof(RASCONNA, hrasconn));
static_assert(offsetof(RasConnRecord, entry_name) == offsetof(RASCONNA, szEntryName));
static_assert(offsetof(RasConnRecord, device_type) == offsetof(RASCONNA, szDeviceType));
static_assert(offsetof(RasConnRecord, device_name) == offsetof(RASCONNA, szDeviceName));
static_assert(sizeof(RasConnRecord) == PaddedTo4(offsetof(RASCONNA, szPhonebook)));

static_assert(offsetof(RasConnStatusRecord, state) == offsetof(RASCONNSTATUSA, rasconnstate));
static_assert(offsetof(RasConnStatusRecord, error) == offsetof(RASCONNSTATUSA, dwError));
static_assert(offsetof(RasConnStatusRecord, device_type) == offsetof(RASCONNSTATUSA, szDeviceType));
static_assert(offsetof(RasConnStatusRecord, device_name) == offsetof(RASCONNSTATUSA, szDeviceName));
static_assert(sizeof(RasConnStatusRecord) == PaddedTo4(offsetof(RASCONNSTATUSA, szPhoneNumber)));

static_assert(offsetof(RasEntryNameRecord, entry_name) == offsetof(RASENTRYNAMEA, szEntryName));
static_assert(sizeof(RasEntryNameRecord) == PaddedTo4(offsetof(RASENTRYNAMEA, dwFlags)));

TEST(Win32RasLibrary, BindsTheLibraryAndFindsNoConnection) {
  Win32RasLibrary library;
  // Nothing is bound yet.
  std::vector<RasConnection> records;
  uint32_t count = 99;
  EXPECT_EQ(library.EnumConnections(4, records, count), kRasErrorNotAvailable);

  ASSERT_TRUE(library.Load());
  EXPECT_EQ(library.EnumConnections(4, records, count), kRasOk);
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(records.empty());
  // The system's text for "file not found".
  const std::string text = library.SystemErrorText(2);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');

  library.Unload();
  EXPECT_EQ(library.HangUp(1), kRasErrorNotAvailable);
}

TEST(Win32PerfData, MissingValueIsNothing) {
  Win32PerfData perf;
  EXPECT_FALSE(perf.ReadStatValue("Dial-Up Adapter\\ConnectSpeed").has_value());
}

int dispatched = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++dispatched; }

TEST(Win32MessagePump, DispatchesWaitingMessagesAndKeepsAQuitForTheMainLoop) {
  Win32MessagePump pump;
  // A thread timer's message stands for any message.
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, &CountTick);
  ASSERT_NE(timer, 0u);
  const uint64_t start = pump.SteadyMs();
  while (dispatched == 0 && pump.SteadyMs() - start < 5000) pump.ProcessMessages(10);
  KillTimer(nullptr, timer);
  EXPECT_GT(dispatched, 0);

  // A quit met while pumping is kept for the main loop.
  PostQuitMessage(3);
  pump.ProcessMessages(1);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
}  // namespace velkora::win32
