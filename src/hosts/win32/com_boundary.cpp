#include "hosts/win32/com_boundary.h"

#include <oaidl.h>
#include <oleauto.h>

#include <exception>
#include <string>

#include "hosts/win32/com_owners.h"
#include "hosts/win32/com_variant.h"
#include "velkora_idl.h"  // IID_IApp

namespace velkora::win32 {

HRESULT ReturnAutomationError(const AutomationError& error) noexcept {
  if (error.description.empty()) {
    SetErrorInfo(0, nullptr);
    return error.status;
  }
  try {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return error.status;
    std::wstring source = WideFromAnsi(error.source);
    std::wstring description = WideFromAnsi(error.description);
    create->SetGUID(IID_IApp);
    create->SetSource(source.data());
    create->SetDescription(description.data());
    create->SetHelpContext(0);
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.put_void()))) {
      SetErrorInfo(0, info.get());
    }
  } catch (...) {
    // Without memory for the texts the caller still learns the status.
  }
  return error.status;
}

HRESULT HresultFromCaughtException() noexcept {
  try {
    throw;
  } catch (const std::exception& error) {
    return ReturnAutomationError(ToAutomationError(error));
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace velkora::win32
