#include "platform/win32/application_icon.h"

#include "platform/win32/resource_ids.h"

namespace velkora::win32 {

HICON LoadApplicationIcon(IconSize size, HMODULE module) {
  if (module == nullptr) module = GetModuleHandleA(nullptr);
  const bool small = size == IconSize::kSmall;
  // The image of the icon group that fits the size best; LoadIcon would
  // always take the large size and let the system shrink it.
  HANDLE icon = LoadImageA(module, MAKEINTRESOURCEA(VELKORA_APPLICATION_ICON), IMAGE_ICON,
                           GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                           GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON), LR_SHARED);
  if (icon == nullptr) return LoadIconA(nullptr, IDI_APPLICATION);
  return static_cast<HICON>(icon);
}

}  // namespace velkora::win32
