#include "platform/win32/win32_ras.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/system_message.h"
#include "platform/win32/win32_ras_records.h"

namespace velkora::win32 {
namespace {

// GetProcAddress hands every entry point out under one type; the cast goes
// through the one function type that converts to all others silently.
template <typename Fn>
Fn Resolve(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

template <std::size_t N>
std::string FieldText(const CHAR (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

}  // namespace

bool Win32RasLibrary::Load() {
  Unload();
  ras_library_.reset(LoadLibraryA("RASAPI32.DLL"));
  if (!ras_library_) return false;
  HMODULE ras = ras_library_.get();
  dial_ = GetProcAddress(ras, "RasDialA");
  enum_connections_ = Resolve<EnumConnectionsFn>(ras, "RasEnumConnectionsA");
  enum_entries_ = Resolve<EnumEntriesFn>(ras, "RasEnumEntriesA");
  get_connect_status_ = Resolve<GetConnectStatusFn>(ras, "RasGetConnectStatusA");
  get_error_string_ = Resolve<GetErrorStringFn>(ras, "RasGetErrorStringA");
  hang_up_ = Resolve<HangUpFn>(ras, "RasHangUpA");
  // The oldest systems keep the phone-book entry functions in a library of
  // their own, which is bound beside this one there.
  if (GetProcAddress(ras, "RasGetCountryInfoA") == nullptr) {
    entry_library_.reset(LoadLibraryA("RNAPH.DLL"));
  }
  if (dial_ == nullptr) {
    Unload();
    return false;
  }
  return true;
}

void Win32RasLibrary::Unload() {
  dial_ = nullptr;
  enum_connections_ = nullptr;
  enum_entries_ = nullptr;
  get_connect_status_ = nullptr;
  get_error_string_ = nullptr;
  hang_up_ = nullptr;
  entry_library_.reset();
  ras_library_.reset();
}

uint32_t Win32RasLibrary::EnumConnections(std::size_t capacity, std::vector<RasConnection>& records,
                                          uint32_t& count) {
  records.clear();
  if (enum_connections_ == nullptr || capacity == 0) return kRasErrorNotAvailable;
  std::vector<RasConnRecord> buffer(capacity);
  std::memset(buffer.data(), 0, buffer.size() * sizeof(RasConnRecord));
  buffer[0].size = sizeof(RasConnRecord);
  DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(RasConnRecord));
  DWORD connections = 0;
  const DWORD result = enum_connections_(buffer.data(), &bytes, &connections);
  count = connections;
  if (result != kRasOk && result != kRasErrorBufferTooSmall) return result;
  const std::size_t filled = std::min<std::size_t>(connections, capacity);
  for (std::size_t i = 0; i < filled; ++i) {
    records.push_back(
        {reinterpret_cast<uintptr_t>(buffer[i].handle), FieldText(buffer[i].entry_name)});
  }
  return result;
}

uint32_t Win32RasLibrary::GetConnectStatus(uintptr_t connection, RasConnectStatus& status) {
  if (get_connect_status_ == nullptr) return kRasErrorNotAvailable;
  RasConnStatusRecord record;
  std::memset(&record, 0, sizeof record);
  record.size = sizeof record;
  const DWORD result = get_connect_status_(reinterpret_cast<HANDLE>(connection), &record);
  status.state = record.state;
  status.error = record.error;
  status.device_type = FieldText(record.device_type);
  status.device_name = FieldText(record.device_name);
  return result;
}

uint32_t Win32RasLibrary::HangUp(uintptr_t connection) {
  if (hang_up_ == nullptr) return kRasErrorNotAvailable;
  return hang_up_(reinterpret_cast<HANDLE>(connection));
}

std::string Win32RasLibrary::ErrorString(uint32_t code) {
  if (get_error_string_ == nullptr) return {};
  CHAR text[257] = {};
  get_error_string_(code, text, 256);
  return FieldText(text);
}

std::string Win32RasLibrary::SystemErrorText(uint32_t code) { return win32::SystemErrorText(code); }

uint32_t Win32RasLibrary::EnumEntries(const std::string& phone_book, std::size_t capacity,
                                      std::vector<std::string>& names) {
  names.clear();
  if (enum_entries_ == nullptr || capacity == 0) return kRasErrorNotAvailable;
  std::vector<RasEntryNameRecord> buffer(capacity);
  std::memset(buffer.data(), 0, buffer.size() * sizeof(RasEntryNameRecord));
  buffer[0].size = sizeof(RasEntryNameRecord);
  DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(RasEntryNameRecord));
  DWORD entries = 0;
  const DWORD result = enum_entries_(nullptr, phone_book.empty() ? nullptr : phone_book.c_str(),
                                     buffer.data(), &bytes, &entries);
  if (result != kRasOk) return result;
  const std::size_t filled = std::min<std::size_t>(entries, capacity);
  for (std::size_t i = 0; i < filled; ++i) names.push_back(FieldText(buffer[i].entry_name));
  return result;
}

}  // namespace velkora::win32
