// Baseline of bench/wine_startup.sh: the least a COM local server does
// before a client can reach it, under the same loader and the same system
// DLLs as velkora.exe. It initialises COM, registers a class object of its
// own (a CLSID nobody else uses), and prints the milliseconds from its
// process's creation to WinMain, to COM initialised and to the class object
// registered, measured as the server's probe measures them:
//   MINIMAL main_ms=<ms> com_initialized_ms=<ms> registered_ms=<ms>
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdint>
#include <cstdio>

namespace {

// {6B0A1E57-2F3C-4E0B-9C51-0D5F1B7A3C21}
const CLSID kBenchClass = {
    0x6b0a1e57, 0x2f3c, 0x4e0b, {0x9c, 0x51, 0x0d, 0x5f, 0x1b, 0x7a, 0x3c, 0x21}};

class NoObjects final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

uint64_t Value(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

int main() {
  LARGE_INTEGER frequency, entered, initialized, registered;
  QueryPerformanceCounter(&entered);
  QueryPerformanceFrequency(&frequency);
  FILETIME now, creation, exit_time, kernel, user;
  GetSystemTimePreciseAsFileTime(&now);
  double main_ms = 0;
  if (GetProcessTimes(GetCurrentProcess(), &creation, &exit_time, &kernel, &user)) {
    main_ms = static_cast<double>(Value(now) - Value(creation)) / 10000.0;
  }
  auto since_creation = [&](const LARGE_INTEGER& at) {
    return main_ms + static_cast<double>(at.QuadPart - entered.QuadPart) * 1000.0 /
                         static_cast<double>(frequency.QuadPart);
  };

  // velkora.exe imports user32, advapi32 and oleaut32 too; the loader maps
  // them for this program as well when it uses one function of each.
  if (IsWindow(nullptr) || RegCloseKey(nullptr) == ERROR_SUCCESS) return 1;
  SysFreeString(nullptr);  // and oleaut32

  if (FAILED(CoInitialize(nullptr))) return 1;
  QueryPerformanceCounter(&initialized);
  NoObjects factory;
  DWORD cookie = 0;
  const HRESULT hr = CoRegisterClassObject(kBenchClass, &factory, CLSCTX_LOCAL_SERVER,
                                           REGCLS_MULTIPLEUSE, &cookie);
  QueryPerformanceCounter(&registered);
  if (SUCCEEDED(hr)) CoRevokeClassObject(cookie);
  CoUninitialize();
  if (FAILED(hr)) return 1;
  std::printf("MINIMAL main_ms=%.2f com_initialized_ms=%.2f registered_ms=%.2f\n", main_ms,
              since_creation(initialized), since_creation(registered));
  return 0;
}
