#include "hosts/win32/app_object.h"

#include <deque>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "automation/t_app.h"
#include "hosts/win32/com_boundary.h"
#include "hosts/win32/com_variant.h"

namespace velkora::win32 {

AppObject::AppObject(AppHost& host) : host_(host) { host_.ObjectCreated(); }

AppObject::~AppObject() {
  caller_.reset();
  host_.ObjectDestroyed();
}

void AppObject::KeepCaller(IServiceProvider* caller) {
  if (caller == nullptr || caller == caller_.get()) return;
  caller_ = ComPtr<IServiceProvider>::Copy(caller);
}

HRESULT AppObject::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IApp) {
    *object = static_cast<IApp*>(this);
#ifndef VELKORA_WITHOUT_DISPATCH_EX
  } else if (riid == __uuidof(IDispatchEx)) {
    *object = static_cast<IDispatchEx*>(this);
#endif
  } else if (riid == IID_ISupportErrorInfo) {
    *object = static_cast<ISupportErrorInfo*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG AppObject::AddRef() { return ++references_; }

ULONG AppObject::Release() {
  const ULONG left = --references_;
  // The object owns itself from its first reference to its last.
  if (left == 0) delete this;
  return left;
}

HRESULT AppObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT AppObject::GetTypeInfo(UINT index, LCID /*lcid*/, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  *info = ComPtr<ITypeInfo>::Copy(host_.DispatchTypeInfo()).Detach();
  return S_OK;
}

HRESULT AppObject::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* names, UINT count, LCID /*lcid*/,
                                 DISPID* ids) {
  return DispGetIDsOfNames(host_.InterfaceTypeInfo(), names, count, ids);
}

HRESULT AppObject::Invoke(DISPID id, REFIID /*riid*/, LCID /*lcid*/, WORD flags, DISPPARAMS* params,
                          VARIANT* result, EXCEPINFO* exception, UINT* arg_error) {
  return Dispatch(id, flags, params, result, exception, arg_error);
}

HRESULT AppObject::Dispatch(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* exception, UINT* arg_error) {
  host_.CallArrived();
  const HRESULT answer = GuardComCall([&]() -> HRESULT {
    if (params == nullptr) return E_INVALIDARG;
    // JScript passes its `this` as an extra named argument (DISPID_THIS); no
    // method of IApp has such a parameter, so it is dropped before the type
    // information checks the call. Named arguments come first in rgvarg.
    DISPPARAMS call = *params;
    std::vector<VARIANTARG> args;
    std::vector<DISPID> named;
    std::vector<UINT> caller_index;  // position of each kept argument in the caller's rgvarg
    if (params->cNamedArgs > 0 && params->rgdispidNamedArgs != nullptr) {
      for (UINT i = 0; i < params->cArgs; ++i) {
        const bool is_named = i < params->cNamedArgs;
        if (is_named && params->rgdispidNamedArgs[i] == DISPID_THIS) continue;
        args.push_back(params->rgvarg[i]);
        caller_index.push_back(i);
        if (is_named) named.push_back(params->rgdispidNamedArgs[i]);
      }
      call.rgvarg = args.empty() ? nullptr : args.data();
      call.cArgs = static_cast<UINT>(args.size());
      call.rgdispidNamedArgs = named.empty() ? nullptr : named.data();
      call.cNamedArgs = static_cast<UINT>(named.size());
    }
    const HRESULT hr = DispInvoke(static_cast<IApp*>(this), host_.InterfaceTypeInfo(), id, flags,
                                  &call, result, exception, arg_error);
    // A refused argument is named by its index in the caller's array.
    if (FAILED(hr) && arg_error != nullptr && *arg_error < caller_index.size()) {
      *arg_error = caller_index[*arg_error];
    }
    return hr;
  });
  host_.CallAnswered();
  return answer;
}

namespace {

// A method name from a BSTR, or nothing when it cannot be one: method
// names are ASCII, so any other character (or an embedded zero) rules the
// name out before the table is searched.
std::optional<int32_t> IdOfWideName(BSTR name) {
  if (name == nullptr) return std::nullopt;
  const UINT length = SysStringLen(name);
  std::string narrow;
  narrow.reserve(length);
  for (UINT i = 0; i < length; ++i) {
    if (name[i] == 0 || name[i] > 0x7F) return std::nullopt;
    narrow.push_back(static_cast<char>(name[i]));
  }
  return Dispatcher::IdOfName(narrow);
}

}  // namespace

HRESULT AppObject::GetDispID(BSTR name, DWORD /*flags*/, DISPID* id) {
  if (id == nullptr) return E_POINTER;
  // Method names match in any letter case, also when a case-sensitive
  // engine (JScript) asks: GetIDsOfNames has always answered so.
  // fdexNameEnsure cannot make a member that does not exist.
  return GuardComCall([&]() -> HRESULT {
    const std::optional<int32_t> found = IdOfWideName(name);
    *id = found ? *found : DISPID_UNKNOWN;
    return found ? S_OK : DISP_E_UNKNOWNNAME;
  });
}

HRESULT AppObject::InvokeEx(DISPID id, LCID /*lcid*/, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO* exception, IServiceProvider* caller) {
  KeepCaller(caller);
  // InvokeEx has no place for the index of a refused argument.
  return Dispatch(id, flags, params, result, exception, nullptr);
}

HRESULT AppObject::DeleteMemberByName(BSTR name, DWORD /*flags*/) {
  return GuardComCall(
      [&]() -> HRESULT { return IdOfWideName(name) ? S_FALSE : DISP_E_UNKNOWNNAME; });
}

HRESULT AppObject::DeleteMemberByDispID(DISPID id) {
  return Dispatcher::Find(id) != nullptr ? S_FALSE : DISP_E_MEMBERNOTFOUND;
}

HRESULT AppObject::GetMemberProperties(DISPID id, DWORD fetch, DWORD* properties) {
  if (properties == nullptr) return E_POINTER;
  *properties = 0;
  if (Dispatcher::Find(id) == nullptr) return DISP_E_UNKNOWNNAME;
  // Every member is a method: it can be called and nothing else.
  constexpr DWORD kMethod = fdexPropCannotGet | fdexPropCannotPut | fdexPropCannotPutRef |
                            fdexPropCanCall | fdexPropCannotConstruct | fdexPropCannotSourceEvents;
  *properties = kMethod & fetch;
  return S_OK;
}

HRESULT AppObject::GetMemberName(DISPID id, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  *name = nullptr;
  const MethodInfo* method = Dispatcher::Find(id);
  if (method == nullptr) return DISP_E_UNKNOWNNAME;
  *name = SysAllocStringLen(nullptr, static_cast<UINT>(method->name.size()));
  if (*name == nullptr) return E_OUTOFMEMORY;
  // Method names are ASCII: each letter is its own UTF-16 unit.
  for (std::size_t i = 0; i < method->name.size(); ++i) (*name)[i] = method->name[i];
  return S_OK;
}

HRESULT AppObject::GetNextDispID(DWORD /*flags*/, DISPID id, DISPID* next) {
  if (next == nullptr) return E_POINTER;
  *next = DISPID_UNKNOWN;
  // The members in the order of the method table.
  std::size_t row = 0;
  if (id != DISPID_STARTENUM) {
    row = RowOf(id);
    if (row >= kMethodCount) return E_INVALIDARG;
    ++row;
  }
  if (row >= kMethodCount) return S_FALSE;
  *next = MethodTable()[row].dispid;
  return S_OK;
}

HRESULT AppObject::GetNameSpaceParent(IUnknown** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  return E_NOTIMPL;
}

HRESULT AppObject::InterfaceSupportsErrorInfo(REFIID riid) {
  return riid == IID_IApp || riid == IID_IDispatch || riid == IID_IUnknown ||
                 riid == __uuidof(IDispatchEx) || riid == IID_ISupportErrorInfo
             ? S_OK
             : S_FALSE;
}

HRESULT AppObject::CallMethod(const MethodInfo& method, std::span<const VARIANT* const> args,
                              VARIANT* result) {
  if (result != nullptr) VariantInit(result);
  return GuardComCall([&]() -> HRESULT {
    TApp* app = host_.App();
    if (app == nullptr) return E_UNEXPECTED;
    std::deque<Variant> referents;
    std::vector<Variant> values;
    values.reserve(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
      // An object where text is expected stands for its default value; the
      // argument handed on as given (Wert) keeps its object, whose type
      // code the operation reads.
      values.push_back(static_cast<int>(i) == method.as_given
                           ? FromComVariant(*args[i], referents)
                           : TextArgumentFromComVariant(*args[i], referents));
    }
    CallResult outcome = app->Call(method, values);
    if (outcome.error) return ReturnAutomationError(*outcome.error);
    if (result != nullptr) return ToComVariant(outcome.value, result);
    return S_OK;
  });
}

HRESULT AppObject::ShowInfo() { return Call<dispid::kShowInfo>(nullptr); }
HRESULT AppObject::WindowExists(VARIANT FensterName, VARIANT* Ergebnis) {
  return Call<dispid::kWindowExists>(Ergebnis, FensterName);
}
HRESULT AppObject::CloseWindow(VARIANT FensterName) {
  return Call<dispid::kCloseWindow>(nullptr, FensterName);
}
HRESULT AppObject::GetRasConnection(VARIANT* Ergebnis) {
  return Call<dispid::kGetRasConnection>(Ergebnis);
}
HRESULT AppObject::IniWrite(VARIANT Datei, VARIANT Sektion, VARIANT Eintrag, VARIANT Wert) {
  return Call<dispid::kIniWrite>(nullptr, Datei, Sektion, Eintrag, Wert);
}
HRESULT AppObject::IniRead(VARIANT Datei, VARIANT Sektion, VARIANT Eintrag, VARIANT Wert,
                           VARIANT* Ergebnis) {
  return Call<dispid::kIniRead>(Ergebnis, Datei, Sektion, Eintrag, Wert);
}
HRESULT AppObject::IniDeleteKey(VARIANT Datei, VARIANT Sektion, VARIANT Eintrag) {
  return Call<dispid::kIniDeleteKey>(nullptr, Datei, Sektion, Eintrag);
}
HRESULT AppObject::GetRasLCRName(VARIANT Dauer, VARIANT* Ergebnis) {
  return Call<dispid::kGetRasLCRName>(Ergebnis, Dauer);
}
HRESULT AppObject::GetRasLCRInfo(VARIANT Dauer, VARIANT Trenner, VARIANT* Ergebnis) {
  return Call<dispid::kGetRasLCRInfo>(Ergebnis, Dauer, Trenner);
}
HRESULT AppObject::WndGetList(VARIANT Muster, VARIANT Trenner, VARIANT* Ergebnis) {
  return Call<dispid::kWndGetList>(Ergebnis, Muster, Trenner);
}
HRESULT AppObject::WndClose(VARIANT Muster, VARIANT Trenner, VARIANT Alle, VARIANT* Ergebnis) {
  return Call<dispid::kWndClose>(Ergebnis, Muster, Trenner, Alle);
}
HRESULT AppObject::RasClose(VARIANT* Ergebnis) { return Call<dispid::kRasClose>(Ergebnis); }
HRESULT AppObject::VelkoraVersion(VARIANT* Ergebnis) {
  return Call<dispid::kVelkoraVersion>(Ergebnis);
}
HRESULT AppObject::IniReadSectionValues(VARIANT IniDatei, VARIANT Sektion, VARIANT Trenner,
                                        VARIANT* Ergebnis) {
  return Call<dispid::kIniReadSectionValues>(Ergebnis, IniDatei, Sektion, Trenner);
}
HRESULT AppObject::IniReadSection(VARIANT Datei, VARIANT Sektion, VARIANT Trenner,
                                  VARIANT* Ergebnis) {
  return Call<dispid::kIniReadSection>(Ergebnis, Datei, Sektion, Trenner);
}
HRESULT AppObject::IniReadSections(VARIANT Datei, VARIANT Trenner, VARIANT* Ergebnis) {
  return Call<dispid::kIniReadSections>(Ergebnis, Datei, Trenner);
}
HRESULT AppObject::VelkoraIniname(VARIANT* Ergebnis) {
  return Call<dispid::kVelkoraIniname>(Ergebnis);
}
HRESULT AppObject::GetPerfStats(VARIANT Key, VARIANT* Ergebnis) {
  return Call<dispid::kGetPerfStats>(Ergebnis, Key);
}

HRESULT AppClassFactory::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IClassFactory) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG AppClassFactory::AddRef() { return ++references_; }

ULONG AppClassFactory::Release() { return --references_; }

HRESULT AppClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (host_.Ending()) return CO_E_SERVER_STOPPING;
  return GuardComCall([&]() -> HRESULT {
    // The new object's first reference; on success the interface handed
    // out holds the object, on failure this one was the last.
    ComPtr<AppObject> app = ComPtr<AppObject>::Attach(new AppObject(host_));
    return app->QueryInterface(riid, object);
  });
}

HRESULT AppClassFactory::LockServer(BOOL lock) {
  if (lock) {
    if (host_.Ending()) return CO_E_SERVER_STOPPING;
    host_.ObjectCreated();
  } else {
    host_.ObjectDestroyed();
  }
  return S_OK;
}

}  // namespace velkora::win32
