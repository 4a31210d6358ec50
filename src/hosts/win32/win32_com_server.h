#pragma once

// The process's automation server: type library, registration and start
// modes, the class object, the object count and the end after the last
// release, the hidden main window and the message loop. It is the host's
// side of the start-up sequence.

#include <windows.h>
#include <oaidl.h>
#include <objidl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/registration.h"
#include "automation/t_app.h"
#include "hosts/win32/app_object.h"
#include "hosts/win32/bench_probe.h"
#include "hosts/win32/com_owners.h"
#include "hosts/win32/main_window.h"
#include "platform/platform.h"
#include "platform/win32/unique_handle.h"
#include "server/startup.h"

namespace velkora::win32 {

class Win32ComServer final : public HostHooks, public AppHost {
 public:
  // `exe_path`: the server's full file name, from which the type library is
  // loaded and under which it is registered.
  // `probe` records what the benchmarks ask of the server's start.
  Win32ComServer(std::string exe_path, Platform& platform, BenchProbe& probe);
  ~Win32ComServer() override = default;
  Win32ComServer(const Win32ComServer&) = delete;
  Win32ComServer& operator=(const Win32ComServer&) = delete;

  // HostHooks
  void InstanceLockTaken() override;
  std::optional<int> InitializeAutomation(const std::vector<std::string>& params) override;
  void MainWindowCreated(THaupt& haupt) override;
  void RunMessageLoop(THaupt& haupt) override;
  void RevokeClassObjects() override;
  void MainWindowDestroying(THaupt& haupt) override;
  void UninitializeAutomation() override;

  // AppHost
  TApp* App() override { return app_.get(); }
  ITypeInfo* InterfaceTypeInfo() override { return interface_info_.get(); }
  ITypeInfo* DispatchTypeInfo() override { return dispatch_info_.get(); }
  void ObjectCreated() override;
  void ObjectDestroyed() override;
  bool Ending() override { return objects_ && objects_->Ending(); }
  void CallArrived() noexcept override { probe_.CallArrived(); }
  void CallAnswered() noexcept override { probe_.CallAnswered(); }

  StartMode Mode() const { return mode_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void LoadTypeLibrary();
  void RegisterTypeLibrary();
  void UnregisterTypeLibrary();
  HRESULT RegisterClassObject();
  void StartQuitTimer();
  void OnQuitTimer();
  void OnIncomingCall();

  // Sees every call that reaches the server's apartment, before it runs.
  class CallWatch final : public IMessageFilter {
   public:
    explicit CallWatch(Win32ComServer& server) : server_(server) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD type, HTASK caller, DWORD tick,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tick, DWORD reject) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tick, DWORD pending) override;

   private:
    Win32ComServer& server_;
  };

  std::string exe_path_;
  Platform& platform_;
  BenchProbe& probe_;

  // Members go in the reverse order of their declaration, which is the
  // order of the shutdown: the window before its class, the class object
  // revoked and COM uninitialised while the objects and their type
  // information still exist (CoUninitialize may still dispatch calls that
  // were pending for objects a client holds).
  ComPtr<ITypeLib> type_library_;
  ComPtr<ITypeInfo> dispatch_info_;   // IApp, TKIND_DISPATCH
  ComPtr<ITypeInfo> interface_info_;  // IApp, TKIND_INTERFACE (the vtable)
  AppClassFactory factory_;

  StartMode mode_ = StartMode::kNormal;
  std::unique_ptr<ServerProcessReference> process_reference_;
  std::unique_ptr<ObjectCounter> objects_;
  CallWatch call_watch_{*this};
  UniqueCoInitialize com_;
  UniqueMessageFilter message_filter_;
  UniqueClassObject class_object_;

  std::unique_ptr<TApp> app_;
  UniqueWindowClass window_class_;
  UniqueThreadTimer thread_timer_;           // the quit timer when there is no window
  std::unique_ptr<MainWindow> main_window_;  // its content: goes after the window
  UniqueWindow window_;
};

}  // namespace velkora::win32
