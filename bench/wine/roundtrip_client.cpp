// Benchmark client for bench/wine_roundtrip.sh, built with MinGW and run
// under Wine: the floor of a remote script call, a native client's bare
// IDispatch::Invoke with the DISPID looked up once.
//
//   roundtrip_client invoke <calls>   prints "INVOKE calls=<n> ms=<total>"
//   roundtrip_client once             creates the object, calls
//                                     VelkoraVersion once and lets go
//                                     (a server start for the probe)
// Exit code 0 when every call answered "010103".
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Releases the object and uninitialises COM when main leaves.
struct Session {
  Session() { CoInitialize(nullptr); }
  ~Session() {
    if (app != nullptr) app->Release();
    CoUninitialize();
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  IDispatch* app = nullptr;
};

bool CallVersion(IDispatch* app, DISPID id) {
  DISPPARAMS none{};
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = app->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                                 nullptr, nullptr);
  const bool right =
      SUCCEEDED(hr) && V_VT(&result) == VT_BSTR && lstrcmpW(V_BSTR(&result), L"010103") == 0;
  VariantClear(&result);
  if (!right) std::fprintf(stderr, "call failed: 0x%08lx\n", static_cast<unsigned long>(hr));
  return right;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[1], "invoke") == 0 && argc < 3)) {
    std::fprintf(stderr, "usage: roundtrip_client invoke <calls> | once\n");
    return 2;
  }
  Session session;
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"ScriptFunctions.App", &clsid);
  if (SUCCEEDED(hr)) {
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&session.app));
  }
  if (FAILED(hr)) {
    std::fprintf(stderr, "creating the object failed: 0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  wchar_t name[] = L"VelkoraVersion";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  if (FAILED(session.app->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return 1;
  if (!CallVersion(session.app, id)) return 1;
  if (std::strcmp(argv[1], "once") == 0) return 0;

  const long calls = std::atol(argv[2]);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (long i = 0; i < calls; ++i) {
    if (!CallVersion(session.app, id)) return 1;
  }
  QueryPerformanceCounter(&end);
  const double ms = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                    static_cast<double>(frequency.QuadPart);
  std::printf("INVOKE calls=%ld ms=%.1f\n", calls, ms);
  return 0;
}
