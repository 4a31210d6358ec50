#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace velkora::win32 {

DateTime Win32Clock::Now() const {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return EncodeDate(now.wYear, now.wMonth, now.wDay) +
         EncodeTime(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

}  // namespace velkora::win32
