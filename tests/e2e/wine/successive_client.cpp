// Test helper for the Wine end-to-end runs: a client that creates
// "ScriptFunctions.App", makes one call and lets it go, again and again,
// pausing between runs, so that each run meets the server of the run before
// at a chosen moment of its end (still waiting for clients, ending, or gone).
//
//   successive_client <runs> <first pause ms> <last pause ms>
//       The pauses step evenly from the first to the last, taken in a
//       shuffled order, so that every moment of the end follows runs of
//       every kind. Prints one line per failed run ("FAIL run <i> pause
//       <ms>: <step> 0x<status>"), then "INFO quick=<n>": the runs that took
//       less than a second, which under Wine means that a running server
//       served them (starting one takes Wine at least a second), and at the
//       end "SUCCESSIVE-END runs=<n> failures=<n>". The exit code is the
//       number of failures (at most 100).
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <numeric>

namespace {

// One run: create, call VelkoraVersion, check the answer, release. Returns
// the step that failed, or nullptr, and the status in `status`.
const char* OneRun(HRESULT& status) {
  CLSID clsid;
  status = CLSIDFromProgID(L"ScriptFunctions.App", &clsid);
  if (FAILED(status)) return "CLSIDFromProgID";
  IDispatch* app = nullptr;
  status = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(&app));
  if (FAILED(status)) return "CoCreateInstance";
  const char* failed = nullptr;
  wchar_t name[] = L"VelkoraVersion";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  status = app->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(status)) {
    failed = "GetIDsOfNames";
  } else {
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    status = app->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                         nullptr, nullptr);
    if (FAILED(status)) {
      failed = "Invoke";
    } else if (V_VT(&result) != VT_BSTR || lstrcmpW(V_BSTR(&result), L"010103") != 0) {
      failed = "answer";
      status = E_FAIL;
    }
    VariantClear(&result);
  }
  app->Release();
  return failed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: successive_client <runs> <first pause ms> <last pause ms>\n");
    return 100;
  }
  const int runs = std::atoi(argv[1]);
  const int first = std::atoi(argv[2]);
  const int last = std::atoi(argv[3]);
  // A step through the evenly spaced pauses that visits each once.
  int stride = 7919;
  while (runs > 1 && std::gcd(stride, runs) != 1) ++stride;
  int failures = 0;
  int quick = 0;
  for (int i = 0; i < runs; ++i) {
    const int k = runs > 1 ? static_cast<int>((static_cast<long long>(i) * stride) % runs) : 0;
    const int pause = runs > 1 ? first + (last - first) * k / (runs - 1) : first;
    const DWORD started = GetTickCount();
    // Each run as a client of its own: its own COM initialisation.
    CoInitialize(nullptr);
    HRESULT status = S_OK;
    const char* failed = OneRun(status);
    CoUninitialize();
    if (failed == nullptr && GetTickCount() - started < 1000) ++quick;
    if (failed != nullptr) {
      ++failures;
      std::printf("FAIL run %d pause %d: %s 0x%08lX\n", i + 1, pause, failed,
                  static_cast<unsigned long>(status));
      std::fflush(stdout);
    }
    Sleep(static_cast<DWORD>(pause));
  }
  std::printf("INFO quick=%d\n", quick);
  std::printf("SUCCESSIVE-END runs=%d failures=%d\n", runs, failures);
  return failures > 100 ? 100 : failures;
}
