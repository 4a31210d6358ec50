#include "platform/win32/win32_message_pump.h"

#include <windows.h>

namespace velkora::win32 {

void Win32MessagePump::ProcessMessages(uint32_t max_wait_ms) {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    MsgWaitForMultipleObjectsEx(0, nullptr, max_wait_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The main loop ends once the wait is over; until then the wait goes
      // on without messages, at its own pace.
      PostQuitMessage(static_cast<int>(message.wParam));
      Sleep(max_wait_ms);
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

uint64_t Win32MessagePump::SteadyMs() const { return GetTickCount64(); }

}  // namespace velkora::win32
