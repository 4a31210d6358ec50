#include "platform/win32/win32_registry.h"

#include "platform/win32/unique_handle.h"

namespace velkora::win32 {

bool Win32ClassesRegistry::SetDefaultValue(const std::string& key, const std::string& value) {
  UniqueHkey handle;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, handle.put(),
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  // Stored with its terminating zero, as REG_SZ wants.
  return RegSetValueExA(handle.get(), nullptr, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool Win32ClassesRegistry::DeleteKey(const std::string& key) {
  return RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str()) == ERROR_SUCCESS;
}

}  // namespace velkora::win32
