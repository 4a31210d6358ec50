#include "platform/win32/win32_named_lock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/win32/unique_handle.h"

namespace velkora::win32 {
namespace {

std::string ProbePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string exe = path;
  return exe.substr(0, exe.find_last_of('\\') + 1) + "win32_lock_probe.exe";
}

// Starts the probe for `name`; returns the process handle.
UniqueHandle StartProbe(const std::string& name, int hold_ms = 0) {
  std::string command = "\"" + ProbePath() + "\" " + name + " " + std::to_string(hold_ms);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return UniqueHandle();
  }
  CloseHandle(process.hThread);
  return UniqueHandle(process.hProcess);
}

DWORD WaitForExit(const UniqueHandle& process) {
  WaitForSingleObject(process.get(), 30000);
  DWORD code = 99;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

std::string UniqueName() { return "Velkora_Test_Lock_" + std::to_string(GetCurrentProcessId()); }

TEST(Win32NamedLock, SecondProcessSeesTheLockUntilItIsReleased) {
  Win32NamedLockFactory factory;
  LockResult lock = factory.Acquire(UniqueName());
  ASSERT_TRUE(lock);
  ASSERT_NE(*lock, nullptr);

  UniqueHandle held = StartProbe(UniqueName());
  ASSERT_TRUE(held);
  EXPECT_EQ(WaitForExit(held), 1u);

  lock->reset();
  UniqueHandle free = StartProbe(UniqueName());
  ASSERT_TRUE(free);
  EXPECT_EQ(WaitForExit(free), 0u);
}

TEST(Win32NamedLock, LockOfAnEndedProcessIsGone) {
  // The probe holds the lock for a while; once it has ended the name is free.
  UniqueHandle holder = StartProbe(UniqueName(), 1500);
  ASSERT_TRUE(holder);
  Sleep(500);
  Win32NamedLockFactory factory;
  const LockResult refused = factory.Acquire(UniqueName());
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), LockFailure::kAlreadyExists);
  EXPECT_EQ(WaitForExit(holder), 0u);
  EXPECT_TRUE(factory.Acquire(UniqueName()));
}

TEST(Win32NamedLock, AWaitingAcquisitionGetsTheLockOfAProcessThatEnds) {
  UniqueHandle holder = StartProbe(UniqueName(), 1500);
  ASSERT_TRUE(holder);
  Sleep(500);
  Win32NamedLockFactory factory;
  // Too short a wait: still held.
  const LockResult refused = factory.AcquireWaiting(UniqueName(), std::chrono::milliseconds(50));
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), LockFailure::kAlreadyExists);
  // Long enough: ours as soon as the holder is done.
  LockResult lock = factory.AcquireWaiting(UniqueName(), std::chrono::seconds(30));
  ASSERT_TRUE(lock);
  EXPECT_NE(*lock, nullptr);
  EXPECT_EQ(WaitForExit(holder), 0u);
  // And a second process sees it held now.
  lock->reset();
  UniqueHandle free = StartProbe(UniqueName());
  ASSERT_TRUE(free);
  EXPECT_EQ(WaitForExit(free), 0u);
}

}  // namespace
}  // namespace velkora::win32
