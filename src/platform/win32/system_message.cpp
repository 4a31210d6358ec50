#include "platform/win32/system_message.h"

#include <string_view>

#include "base/ascii.h"
#include "platform/win32/unique_handle.h"

namespace velkora::win32 {

std::string SystemErrorText(DWORD code) {
  UniqueLocalMemory<char> buffer;
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the
  // address of the buffer the system allocates.
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(buffer.put()), 0, nullptr);
  if (length == 0 || !buffer) return {};
  return std::string(TrimRightBlanks(std::string_view(buffer.get(), length), "\r\n "));
}

std::string SystemMessage(HRESULT status) {
  std::string text = SystemErrorText(static_cast<DWORD>(status));
  if (text.empty()) {
    char code[32];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(status));
    text = code;
  }
  return text;
}

}  // namespace velkora::win32
