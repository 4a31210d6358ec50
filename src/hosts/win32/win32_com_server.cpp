#include "hosts/win32/win32_com_server.h"

#include <span>
#include <utility>

#include "base/error.h"
#include "base/version.h"
#include "hosts/win32/com_variant.h"
#include "platform/win32/application_icon.h"
#include "platform/win32/system_message.h"
#include "shell/script_frame.h"

namespace velkora::win32 {
namespace {

constexpr char kWindowClass[] = "THaupt";
constexpr char kWindowCaption[] = "Velkora " VELKORA_VERSION;
constexpr UINT_PTR kQuitTimer = 1;
// Leaving the loop at once from inside the last Release let CoUninitialize
// wait for an RPC shutdown that never came, now and then; a short pause
// before revoking the class object avoids it. The same pause again, with
// the class object withdrawn, lets a client that found it just before it
// went reach the server (ObjectCounter::Withdraw).
constexpr UINT kQuitDelayMs = 250;
constexpr char kClassName[] = "TApp";

class Win32ProcessReference final : public ServerProcessReference {
 public:
  uint32_t AddRef() override { return CoAddRefServerProcess(); }
  uint32_t Release() override { return CoReleaseServerProcess(); }
};

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH] = {};
  DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return path;
  return std::string(buffer, length);
}

std::string Replace(std::string text, std::string_view placeholder, std::string_view value) {
  if (auto at = text.find(placeholder); at != std::string::npos) {
    text.replace(at, placeholder.size(), value);
  }
  return text;
}

}  // namespace

Win32ComServer::Win32ComServer(std::string exe_path, Platform& platform, BenchProbe& probe)
    : exe_path_(std::move(exe_path)), platform_(platform), probe_(probe), factory_(*this) {}

void Win32ComServer::InstanceLockTaken() {
  probe_.Mark("lock_taken");
  LoadTypeLibrary();
  probe_.Mark("typelib_loaded");
}

void Win32ComServer::LoadTypeLibrary() {
  // The type library of the executable's own resources; the class entry and
  // its default dispatch interface must be in it.
  std::wstring path = WideFromAnsi(exe_path_);
  ThrowIfFailed(LoadTypeLib(path.c_str(), type_library_.put()));

  const std::string missing = Replace("Für Klasse %s fehlt die Typinformation", "%s", kClassName);
  const std::string wrong = Replace("Falsche Typinformation für Klasse %s", "%s", kClassName);
  const std::string no_dispatch =
      Replace("Dispatch-Schnittstelle der Klasse %s fehlt", "%s", kClassName);

  ComPtr<ITypeInfo> class_info;
  if (FAILED(type_library_->GetTypeInfoOfGuid(CLSID_App, class_info.put()))) throw Error(missing);
  UniqueTypeAttr class_attr(class_info.get());
  if (FAILED(class_info->GetTypeAttr(class_attr.put()))) throw Error(wrong);
  if (class_attr->typekind != TKIND_COCLASS) throw Error(wrong);

  for (UINT i = 0; i < class_attr->cImplTypes && !dispatch_info_; ++i) {
    INT flags = 0;
    HREFTYPE ref = 0;
    if (FAILED(class_info->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FDEFAULT) ||
        (flags & IMPLTYPEFLAG_FSOURCE) || FAILED(class_info->GetRefTypeOfImplType(i, &ref))) {
      continue;
    }
    class_info->GetRefTypeInfo(ref, dispatch_info_.put());
  }
  if (!dispatch_info_) throw Error(no_dispatch);
  UniqueTypeAttr attr(dispatch_info_.get());
  if (FAILED(dispatch_info_->GetTypeAttr(attr.put()))) throw Error(no_dispatch);
  const bool is_dual_dispatch = attr->typekind == TKIND_DISPATCH &&
                                (attr->wTypeFlags & TYPEFLAG_FDUAL) &&
                                IsEqualGUID(attr->guid, IID_IApp);
  // The vtable half of the dual interface, through which DispInvoke calls.
  HREFTYPE vtable_ref = 0;
  if (!is_dual_dispatch || FAILED(dispatch_info_->GetRefTypeOfImplType(-1, &vtable_ref)) ||
      FAILED(dispatch_info_->GetRefTypeInfo(vtable_ref, interface_info_.put()))) {
    throw Error(no_dispatch);
  }
}

void Win32ComServer::RegisterTypeLibrary() {
  std::wstring path = WideFromAnsi(exe_path_);
  std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
  if (!folder.empty() && folder.size() > 3) folder.pop_back();  // no trailing backslash
  ThrowIfFailed(RegisterTypeLib(type_library_.get(), path.data(), folder.data()));
}

void Win32ComServer::UnregisterTypeLibrary() {
  // Looked up at run time: an old system without it keeps the entry.
  using UnRegisterFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
  HMODULE oleaut = GetModuleHandleA("oleaut32.dll");
  if (oleaut == nullptr) return;
  auto unregister = reinterpret_cast<UnRegisterFn>(
      reinterpret_cast<void*>(GetProcAddress(oleaut, "UnRegisterTypeLib")));
  if (unregister == nullptr) return;
  UniqueTLibAttr attr(type_library_.get());
  if (FAILED(type_library_->GetLibAttr(attr.put()))) return;
  unregister(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
}

std::optional<int> Win32ComServer::InitializeAutomation(const std::vector<std::string>& params) {
  probe_.Mark("settings_read");
  // A registration beside a running server comes here first.
  if (!type_library_) LoadTypeLibrary();
  ThrowIfFailed(CoInitialize(nullptr));
  com_ = UniqueCoInitialize(/*owed=*/true);
  probe_.Mark("com_initialized");

  std::span<const std::string> switches(params);
  if (!switches.empty()) switches = switches.subspan(1);
  mode_ = StartModeFromSwitches(switches);
  process_reference_ = std::make_unique<Win32ProcessReference>();
  objects_ = std::make_unique<ObjectCounter>(mode_, process_reference_.get());

  const std::vector<RegistryEntry> entries = ClassRegistryEntries(exe_path_, ShortPath(exe_path_));
  if (mode_ == StartMode::kUnregister) {
    UnregisterTypeLibrary();
  } else {
    try {
      RegisterTypeLibrary();
    } catch (const Error&) {
      // Registering a type library needs write access to the machine's
      // classes. Ordinary starts by a user without it must still serve the
      // already registered class, so only /RegServer reports the failure.
      if (mode_ == StartMode::kRegister) throw;
    }
  }
  probe_.Mark("typelib_registered");
  if (UpdateRegistry(mode_, platform_.Registry(), entries)) return kExitOk;
  probe_.Mark("registry_checked");

  if (mode_ == StartMode::kAutomation) {
    // Watches for clients on their way while the class object is withdrawn
    // at the end.
    if (SUCCEEDED(CoRegisterMessageFilter(&call_watch_, nullptr))) {
      message_filter_ = UniqueMessageFilter(/*owed=*/true);
    }
  }
  ThrowIfFailed(RegisterClassObject());
  probe_.ClassObjectRegistered();
  return std::nullopt;
}

HRESULT Win32ComServer::RegisterClassObject() {
  return CoRegisterClassObject(CLSID_App, static_cast<IClassFactory*>(&factory_),
                               CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, class_object_.put());
}

void Win32ComServer::MainWindowCreated(THaupt& haupt) {
  app_ = std::make_unique<TApp>(haupt, platform_.UserLocale());

  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &Win32ComServer::WindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hIcon = LoadApplicationIcon(IconSize::kLarge);
  window_class.hIconSm = LoadApplicationIcon(IconSize::kSmall);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  window_class_.reset(RegisterClassExA(&window_class));
  // Hidden: the server normally runs without a visible window. Without a
  // display no window can be made; the loop then still serves COM calls.
  window_.reset(CreateWindowExA(
      0, kWindowClass, kWindowCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
      haupt.Left(), haupt.Top(), 386, 194, nullptr, nullptr, GetModuleHandleA(nullptr), this));
  if (window_) {
    main_window_ = std::make_unique<MainWindow>(window_.get(), haupt, platform_.Boxes(),
                                                dynamic_cast<Win32TrayShell*>(&platform_.Tray()));
  }
}

void Win32ComServer::RunMessageLoop(THaupt& /*haupt*/) {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // The quit timer without a window arrives as a thread message.
    if (message.hwnd == nullptr && message.message == WM_TIMER && thread_timer_ &&
        message.wParam == thread_timer_.get()) {
      OnQuitTimer();
      continue;
    }
    if (window_ && IsDialogMessageA(window_.get(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void Win32ComServer::RevokeClassObjects() { class_object_.reset(); }

void Win32ComServer::MainWindowDestroying(THaupt& /*haupt*/) {
  // The owner lets go of the window before destroying it, so its WM_DESTROY
  // does not take this for a user closing the server.
  window_.reset();
  main_window_.reset();
  window_class_.reset();
  app_.reset();
}

void Win32ComServer::UninitializeAutomation() {
  class_object_.reset();
  message_filter_.reset();
  // CoUninitialize may still dispatch calls that were pending for objects a
  // client holds; their IDispatch needs the type information until then.
  com_.reset();
  interface_info_.reset();
  dispatch_info_.reset();
  type_library_.reset();
}

void Win32ComServer::ObjectCreated() {
  if (!objects_) return;
  objects_->ObjectCreated();
  // Releasing the last process reference lets the system hold back the
  // class object from new clients. An object created after all (by a
  // client that had the class object already) keeps this server running,
  // so it takes clients again instead of sending them to a new server that
  // would wait for this one.
  if (mode_ == StartMode::kAutomation && objects_->Count() == 1) CoResumeClassObjects();
}

void Win32ComServer::ObjectDestroyed() {
  if (objects_ && objects_->ObjectDestroyed()) StartQuitTimer();
}

void Win32ComServer::StartQuitTimer() {
  // Setting the window's timer again starts its pause again.
  if (window_) {
    SetTimer(window_.get(), kQuitTimer, kQuitDelayMs, nullptr);
  } else {
    thread_timer_.reset();
    thread_timer_.reset(SetTimer(nullptr, 0, kQuitDelayMs, nullptr));
  }
}

void Win32ComServer::OnQuitTimer() {
  if (window_) KillTimer(window_.get(), kQuitTimer);
  thread_timer_.reset();
  if (!objects_) return;
  if (objects_->Withdrawn()) {
    // No client came while the class object was away: end. The class
    // object creates nothing more from here on.
    if (objects_->DecideToEnd()) PostQuitMessage(0);
    return;
  }
  // A client that created a new object meanwhile keeps the server alive.
  if (objects_->Withdraw()) {
    RevokeClassObjects();
    StartQuitTimer();
  }
}

void Win32ComServer::OnIncomingCall() {
  probe_.IncomingCall();
  if (!objects_ || !objects_->CallCameIn()) return;
  // A client found the class object before it was withdrawn and is on its
  // way: put it back for that client, and start the end over.
  if (FAILED(RegisterClassObject())) class_object_.reset();
  StartQuitTimer();
}

HRESULT Win32ComServer::CallWatch::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IMessageFilter) {
    *object = static_cast<IMessageFilter*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

DWORD Win32ComServer::CallWatch::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  server_.OnIncomingCall();
  return SERVERCALL_ISHANDLED;
}

// Calls of the server's own (an object's default value asked of a client)
// behave as without a filter: a refused call is not repeated, and messages
// that arrive meanwhile are handled as usual.
DWORD Win32ComServer::CallWatch::RetryRejectedCall(HTASK, DWORD, DWORD) {
  return static_cast<DWORD>(-1);
}

DWORD Win32ComServer::CallWatch::MessagePending(HTASK, DWORD, DWORD) {
  return PENDINGMSG_WAITDEFPROCESS;
}

LRESULT CALLBACK Win32ComServer::WindowProc(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* server = reinterpret_cast<Win32ComServer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (server == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  // No C++ error may cross the system's window procedure; it is shown and
  // the loop goes on. Showing it raises nothing, whatever memory is left.
  try {
    return server->HandleMessage(window, message, wparam, lparam);
  } catch (const std::exception& error) {
    ShowError(server->platform_.Boxes(), error.what());
  } catch (...) {
    // Only std::exception is raised here; anything else must still stop
    // at the system's frame.
  }
  return 0;
}

LRESULT Win32ComServer::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam == kQuitTimer) {
        OnQuitTimer();
        return 0;
      }
      break;
    case WM_CLOSE:
      // A user ends the server: ask first while clients still hold objects.
      if (objects_ && !ConfirmClose(*objects_, /*user_interactive=*/true, platform_.Boxes()))
        return 0;
      window_.reset();
      PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      // Destroyed from outside (the session ends): the handle is gone, and
      // so is the reason to run.
      if (window_.get() == window) {
        static_cast<void>(window_.release());
        PostQuitMessage(0);
      }
      return 0;
    default: break;
  }
  LRESULT result = 0;
  if (main_window_ && main_window_->HandleMessage(message, wparam, lparam, result)) return result;
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace velkora::win32
