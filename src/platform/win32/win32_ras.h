#pragma once

#include <windows.h>

#include "platform/ras.h"
#include "platform/win32/unique_handle.h"

namespace velkora::win32 {

// RASAPI32.DLL, loaded by Load and freed by Unload (or at destruction).
// Where it lacks the phone-book entry functions (the oldest systems),
// RNAPH.DLL, which holds them there, is loaded beside it and kept as long.
// None of RNAPH.DLL's functions is called: RasEnumEntriesA, the one
// phone-book function the server uses, is RASAPI32.DLL's on every system.
class Win32RasLibrary final : public RasLibrary {
 public:
  Win32RasLibrary() = default;
  ~Win32RasLibrary() override { Unload(); }

  bool Load() override;
  void Unload() override;
  uint32_t EnumConnections(std::size_t capacity, std::vector<RasConnection>& records,
                           uint32_t& count) override;
  uint32_t GetConnectStatus(uintptr_t connection, RasConnectStatus& status) override;
  uint32_t HangUp(uintptr_t connection) override;
  std::string ErrorString(uint32_t code) override;
  std::string SystemErrorText(uint32_t code) override;
  uint32_t EnumEntries(const std::string& phone_book, std::size_t capacity,
                       std::vector<std::string>& names) override;

 private:
  using DialFn = FARPROC;
  using EnumConnectionsFn = DWORD(WINAPI*)(void*, LPDWORD, LPDWORD);
  using GetConnectStatusFn = DWORD(WINAPI*)(HANDLE, void*);
  using HangUpFn = DWORD(WINAPI*)(HANDLE);
  using GetErrorStringFn = DWORD(WINAPI*)(UINT, LPSTR, DWORD);
  using EnumEntriesFn = DWORD(WINAPI*)(LPCSTR, LPCSTR, void*, LPDWORD, LPDWORD);

  UniqueModule ras_library_;
  UniqueModule entry_library_;  // RNAPH.DLL, only where RASAPI32.DLL lacks the entry functions
  DialFn dial_ = nullptr;
  EnumConnectionsFn enum_connections_ = nullptr;
  GetConnectStatusFn get_connect_status_ = nullptr;
  HangUpFn hang_up_ = nullptr;
  GetErrorStringFn get_error_string_ = nullptr;
  EnumEntriesFn enum_entries_ = nullptr;
};

}  // namespace velkora::win32
