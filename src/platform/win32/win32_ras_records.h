#pragma once

// The records exchanged with RASAPI32.DLL in their first published form,
// which every version of the library accepts: the later fields (phone
// book, sub-entry, flags) are left off. The library's headers pack them to
// 4 bytes, so on 64-bit Windows the connection handle sits at offset 4.

#include <windows.h>

namespace velkora::win32 {

inline constexpr int kRasMaxEntryName = 256;
inline constexpr int kRasMaxDeviceType = 16;
inline constexpr int kRasMaxDeviceName = 128;

#pragma pack(push, 4)

struct RasConnRecord {
  DWORD size;
  HANDLE handle;
  CHAR entry_name[kRasMaxEntryName + 1];
  CHAR device_type[kRasMaxDeviceType + 1];
  CHAR device_name[kRasMaxDeviceName + 1];
};

struct RasConnStatusRecord {
  DWORD size;
  DWORD state;
  DWORD error;
  CHAR device_type[kRasMaxDeviceType + 1];
  CHAR device_name[kRasMaxDeviceName + 1];
};

struct RasEntryNameRecord {
  DWORD size;
  CHAR entry_name[kRasMaxEntryName + 1];
};

#pragma pack(pop)

// 412, 160 and 264 bytes in a 32-bit build.
static_assert(sizeof(RasConnRecord) == (sizeof(void*) == 8 ? 416 : 412));
static_assert(sizeof(RasConnStatusRecord) == 160);
static_assert(sizeof(RasEntryNameRecord) == 264);

}  // namespace velkora::win32
