#include "platform/win32/win32_message_boxes.h"

namespace velkora::win32 {

BoxResult Win32MessageBoxes::Show(const std::string& text, const std::string& caption, BoxIcon icon,
                                  BoxButtons buttons, bool default_no, bool task_modal) {
  UINT style = buttons == BoxButtons::kYesNo ? MB_YESNO : MB_OK;
  switch (icon) {
    case BoxIcon::kNone: break;
    case BoxIcon::kError: style |= MB_ICONERROR; break;
    case BoxIcon::kWarning: style |= MB_ICONWARNING; break;
    case BoxIcon::kInformation: style |= MB_ICONINFORMATION; break;
    case BoxIcon::kQuestion: style |= MB_ICONQUESTION; break;
  }
  if (default_no && buttons == BoxButtons::kYesNo) style |= MB_DEFBUTTON2;
  HWND owner = nullptr;
  if (task_modal) {
    style |= MB_TASKMODAL;
  } else {
    style |= MB_SETFOREGROUND;
    if (application_window_ != nullptr && IsWindowVisible(application_window_)) {
      owner = application_window_;
    } else {
      style |= MB_TASKMODAL;
    }
  }
  switch (MessageBoxA(owner, text.c_str(), caption.c_str(), style)) {
    case IDOK: return BoxResult::kOk;
    case IDYES: return BoxResult::kYes;
    case IDNO: return BoxResult::kNo;
    case IDCANCEL: return BoxResult::kCancel;
    default: return BoxResult::kFailed;
  }
}

}  // namespace velkora::win32
