// The App object's IDispatch in-process: the type information of the built
// velkora.exe drives it exactly as it does for a remote script host.
#include "hosts/win32/app_object.h"

#include <dispex.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <new>
#include <string>

#include "automation/method_table.h"
#include "automation/t_app.h"
#include "fakes/shell_fixture.h"
#include "hosts/win32/com_variant.h"
#include "hosts/win32/default_value_object.h"
#include "hosts/win32/server_path.h"
#include "server/haupt.h"

// Allocation failures on demand: while armed, the allocation numbered
// `fail_from` and, with `fail_rest`, every one after it raise std::bad_alloc.
namespace {
struct AllocationFailure {
  bool armed = false;
  long counted = 0;
  long fail_from = 0;
  bool fail_rest = false;
};
AllocationFailure allocation_failure;
}  // namespace

void* operator new(std::size_t size) {
  AllocationFailure& f = allocation_failure;
  if (f.armed) {
    ++f.counted;
    if (f.counted == f.fail_from || (f.fail_rest && f.counted > f.fail_from))
      throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}

namespace velkora::win32 {
namespace {

class FakeHost final : public AppHost {
 public:
  FakeHost() {
    CoInitialize(nullptr);
    EXPECT_EQ(LoadTypeLib(ServerPath().c_str(), library_.put()), S_OK);
    EXPECT_EQ(library_->GetTypeInfoOfGuid(IID_IApp, dispatch_.put()), S_OK);
    HREFTYPE vtable = 0;
    EXPECT_EQ(dispatch_->GetRefTypeOfImplType(-1, &vtable), S_OK);
    EXPECT_EQ(dispatch_->GetRefTypeInfo(vtable, interface_.put()), S_OK);
  }
  ~FakeHost() override {
    interface_.reset();
    dispatch_.reset();
    library_.reset();
    CoUninitialize();
  }

  TApp* App() override { return &app_; }
  ITypeInfo* InterfaceTypeInfo() override { return interface_.get(); }
  ITypeInfo* DispatchTypeInfo() override { return dispatch_.get(); }
  void ObjectCreated() override { ++objects; }
  void ObjectDestroyed() override { --objects; }
  bool Ending() override { return ending; }

  const std::string& StatusLine() const { return haupt_.StatusLine(); }

  int objects = 0;
  bool ending = false;
  fakes::ShellFixture f_;

 private:
  TPerlre perlre_{true, kPerlreCaseless};
  THaupt haupt_{f_.shell, perlre_, StartSettings{}, {"C:\\velkora.exe"}};
  TApp app_{haupt_, f_.locale};
  ComPtr<ITypeLib> library_;
  ComPtr<ITypeInfo> dispatch_;
  ComPtr<ITypeInfo> interface_;
};

class AppObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppClassFactory factory(host_);
    ASSERT_EQ(factory.CreateInstance(nullptr, IID_IDispatch, object_.put_void()), S_OK);
    EXPECT_EQ(host_.objects, 1);
  }

  // Invokes a method the way a script host does: arguments in rgvarg,
  // named ones first.
  HRESULT Call(DISPID id, VARIANT* args, UINT count, DISPID* named, UINT named_count,
               VARIANT* result, EXCEPINFO* exception, UINT* arg_error = nullptr) {
    DISPPARAMS params{args, named, count, named_count};
    UINT unused = 0;
    return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result,
                           exception, arg_error ? arg_error : &unused);
  }

  FakeHost host_;
  ComPtr<IDispatch> object_;
};

TEST_F(AppObjectTest, TypeInformationAndNames) {
  UINT count = 0;
  EXPECT_EQ(object_->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(object_->GetTypeInfo(1, 0, info.put()), DISP_E_BADINDEX);
  EXPECT_FALSE(info);
  ASSERT_EQ(object_->GetTypeInfo(0, 0, info.put()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_TRUE(IsEqualGUID(attr->guid, IID_IApp));
  info->ReleaseTypeAttr(attr);

  wchar_t method[] = L"WNDGETLIST";
  wchar_t param[] = L"trenner";
  LPOLESTR names[] = {method, param};
  DISPID ids[2] = {};
  ASSERT_EQ(object_->GetIDsOfNames(IID_NULL, names, 2, 0, ids), S_OK);
  EXPECT_EQ(ids[0], dispid::kWndGetList);
  EXPECT_EQ(ids[1], 1);  // the second parameter
  wchar_t unknown[] = L"NoSuchMethod";
  LPOLESTR unknown_name[] = {unknown};
  EXPECT_EQ(object_->GetIDsOfNames(IID_NULL, unknown_name, 1, 0, ids), DISP_E_UNKNOWNNAME);
}

TEST_F(AppObjectTest, JScriptsThisArgumentIsDroppedAndTheOthersKeepTheirPlaces) {
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};

  // VelkoraVersion() as JScript calls it: `this` as the only, named argument.
  VARIANT self;
  VariantInit(&self);
  V_VT(&self) = VT_DISPATCH;
  V_DISPATCH(&self) = object_.get();
  DISPID this_id = DISPID_THIS;
  ASSERT_EQ(Call(dispid::kVelkoraVersion, &self, 1, &this_id, 1, &result, &exception), S_OK);
  ASSERT_EQ(V_VT(&result), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&result), L"010103");
  VariantClear(&result);

  // WindowExists(FensterName:="x") with `this` named after it: the text must
  // stay paired with its name. Paired with `this` it would be an object and
  // fail the text conversion; paired right it reaches the operation, whose
  // call line shows it.
  VARIANT args[2];
  VariantInit(&args[0]);
  V_VT(&args[0]) = VT_BSTR;
  V_BSTR(&args[0]) = SysAllocString(L"x");
  args[1] = self;
  DISPID named[2] = {0, DISPID_THIS};
  EXPECT_EQ(Call(dispid::kWindowExists, args, 2, named, 2, &result, &exception), S_OK);
  EXPECT_EQ(V_VT(&result), VT_BOOL);
  EXPECT_EQ(host_.StatusLine(), "WindowExists(\"x\")-->False");
  VariantClear(&result);
  VariantClear(&args[0]);

  // A wrong count is refused before the method runs, `this` not counted.
  exception = EXCEPINFO{};
  EXPECT_EQ(Call(dispid::kWindowExists, &self, 1, &this_id, 1, &result, &exception),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(V_VT(&result), VT_EMPTY);
}

TEST_F(AppObjectTest, ServerErrorsCarrySourceDescriptionAndStatus) {
  // An array where text is expected.
  SAFEARRAYBOUND bound{1, 0};
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&arg) = SafeArrayCreate(VT_VARIANT, 1, &bound);
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  EXPECT_EQ(Call(dispid::kGetRasLCRName, &arg, 1, nullptr, 0, &result, &exception),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, static_cast<SCODE>(E_UNEXPECTED));
  EXPECT_STREQ(exception.bstrSource, L"ScriptFunctions.App");
  EXPECT_STREQ(exception.bstrDescription, L"Ung\u00fcltige Variant-Typumwandlung");
  EXPECT_EQ(exception.dwHelpContext, 0u);
  EXPECT_EQ(V_VT(&result), VT_EMPTY);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  VariantClear(&arg);

  ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(object_->QueryInterface(IID_ISupportErrorInfo, support.put_void()), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IApp), S_OK);
}

TEST_F(AppObjectTest, AnObjectWhereTextIsExpectedIsAskedForItsDefaultValue) {
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  auto clear = [&] {
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    exception = EXCEPINFO{};
  };
  // With a default value the call runs with that value as its text.
  DefaultValueObject folder;
  folder.SetText(L"C:\\Daten");
  VARIANT arg = folder.AsArgument();
  EXPECT_EQ(Call(dispid::kWindowExists, &arg, 1, nullptr, 0, &result, &exception), S_OK);
  EXPECT_EQ(host_.StatusLine(), "WindowExists(\"C:\\Daten\")-->False");
  EXPECT_EQ(folder.asked, 1);
  VariantClear(&result);
  // Without one it is refused as before.
  DefaultValueObject none;
  arg = none.AsArgument();
  EXPECT_EQ(Call(dispid::kWindowExists, &arg, 1, nullptr, 0, &result, &exception),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, static_cast<SCODE>(E_UNEXPECTED));
  EXPECT_STREQ(exception.bstrDescription, L"Ung\u00fcltige Variant-Typumwandlung");
  clear();
  // Wert keeps its object: the INI functions read its type, not its value.
  VARIANT args[4];
  for (VARIANT& a : args) {
    VariantInit(&a);
    V_VT(&a) = VT_BSTR;
    V_BSTR(&a) = SysAllocString(L"x");
  }
  VariantClear(&args[0]);
  args[0] = folder.AsArgument();  // rgvarg runs backwards: [0] is Wert
  folder.asked = 0;
  Call(dispid::kIniWrite, args, 4, nullptr, 0, nullptr, &exception);
  EXPECT_EQ(folder.asked, 0);
  clear();
  args[0] = args[3];
  args[3] = folder.AsArgument();  // Datei
  Call(dispid::kIniWrite, args, 4, nullptr, 0, nullptr, &exception);
  EXPECT_EQ(folder.asked, 1);
  EXPECT_EQ(host_.StatusLine().rfind("IniWrite(\"C:\\Daten\",", 0), 0u) << host_.StatusLine();
  clear();
  for (int i = 0; i < 3; ++i) VariantClear(&args[i]);
}

// A script engine's view: IDispatchEx on the same object, names in any
// case resolving to the DISPIDs GetIDsOfNames gives, the members fixed.
TEST_F(AppObjectTest, DispatchExResolvesEveryMethodAsGetIDsOfNamesDoes) {
  ComPtr<IDispatchEx> ex;
  ASSERT_EQ(object_->QueryInterface(__uuidof(IDispatchEx), ex.put_void()), S_OK);
  ComPtr<IUnknown> via_ex;
  ComPtr<IUnknown> via_dispatch;
  ASSERT_EQ(ex->QueryInterface(IID_IUnknown, via_ex.put_void()), S_OK);
  ASSERT_EQ(object_->QueryInterface(IID_IUnknown, via_dispatch.put_void()), S_OK);
  EXPECT_EQ(via_ex.get(), via_dispatch.get()) << "one object, one identity";

  DISPID listed = DISPID_STARTENUM;
  int members = 0;
  HRESULT next = S_OK;
  while ((next = ex->GetNextDispID(fdexEnumAll, listed, &listed)) == S_OK) {
    ++members;
    UniqueBstr name;
    ASSERT_EQ(ex->GetMemberName(listed, name.put()), S_OK);
    std::wstring lower(name.get(), SysStringLen(name.get()));
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    for (const std::wstring& spelling : {std::wstring(name.get()), lower}) {
      SCOPED_TRACE(testing::Message() << std::string(spelling.begin(), spelling.end()));
      UniqueBstr asked(SysAllocString(spelling.c_str()));
      DISPID by_ex = 0;
      DISPID by_names = 0;
      // JScript asks case-sensitively; it has always found any spelling.
      ASSERT_EQ(ex->GetDispID(asked.get(), fdexNameCaseSensitive, &by_ex), S_OK);
      LPOLESTR names[] = {asked.get()};
      ASSERT_EQ(object_->GetIDsOfNames(IID_NULL, names, 1, 0, &by_names), S_OK);
      EXPECT_EQ(by_ex, by_names);
      EXPECT_EQ(by_ex, listed);
    }
    DWORD properties = 0;
    EXPECT_EQ(ex->GetMemberProperties(listed, grfdexPropAll, &properties), S_OK);
    EXPECT_EQ(properties & (fdexPropCanCall | fdexPropCannotGet),
              static_cast<DWORD>(fdexPropCanCall | fdexPropCannotGet));
    EXPECT_EQ(ex->DeleteMemberByDispID(listed), S_FALSE) << "a method cannot be deleted";
    EXPECT_EQ(ex->DeleteMemberByName(name.get(), fdexNameCaseInsensitive), S_FALSE);
  }
  EXPECT_EQ(next, S_FALSE);
  EXPECT_EQ(listed, DISPID_UNKNOWN);
  EXPECT_EQ(members, static_cast<int>(kMethodCount));

  // Names that are no method: unknown, with a non-ASCII letter, with an
  // embedded zero after a real name, and no name at all.
  UniqueBstr unknown(SysAllocString(L"NoSuchMethod"));
  UniqueBstr umlaut(SysAllocString(L"IniR\u00e4ad"));
  UniqueBstr embedded(SysAllocStringLen(L"IniRead\0x", 9));
  for (BSTR name : {unknown.get(), umlaut.get(), embedded.get(), static_cast<BSTR>(nullptr)}) {
    DISPID id = 0;
    EXPECT_EQ(ex->GetDispID(name, fdexNameCaseInsensitive | fdexNameEnsure, &id),
              DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    EXPECT_EQ(ex->DeleteMemberByName(name, 0), DISP_E_UNKNOWNNAME);
  }
  UniqueBstr none;
  DWORD properties = 1;
  EXPECT_EQ(ex->GetMemberName(99, none.put()), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ex->GetMemberProperties(99, grfdexPropAll, &properties), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(properties, 0u);
  EXPECT_EQ(ex->DeleteMemberByDispID(99), DISP_E_MEMBERNOTFOUND);
  DISPID after = 0;
  EXPECT_EQ(ex->GetNextDispID(fdexEnumAll, 99, &after), E_INVALIDARG);
  ComPtr<IUnknown> parent;
  EXPECT_EQ(ex->GetNameSpaceParent(parent.put()), E_NOTIMPL);
  EXPECT_FALSE(parent);
}

TEST_F(AppObjectTest, InvokeExTakesInvokesPathWithItsChecks) {
  ComPtr<IDispatchEx> ex;
  ASSERT_EQ(object_->QueryInterface(__uuidof(IDispatchEx), ex.put_void()), S_OK);
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};

  // As JScript calls through IDispatchEx: `this` named, dropped again.
  VARIANT self;
  VariantInit(&self);
  V_VT(&self) = VT_DISPATCH;
  V_DISPATCH(&self) = object_.get();
  DISPID this_id = DISPID_THIS;
  DISPPARAMS only_this{&self, &this_id, 1, 1};
  ASSERT_EQ(ex->InvokeEx(dispid::kVelkoraVersion, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &only_this,
                         &result, &exception, nullptr),
            S_OK);
  ASSERT_EQ(V_VT(&result), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&result), L"010103");
  VariantClear(&result);

  // The argument count is checked before the method runs.
  const std::string status_before = host_.StatusLine();
  EXPECT_EQ(ex->InvokeEx(dispid::kWindowExists, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &only_this,
                         &result, &exception, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(host_.StatusLine(), status_before);
  EXPECT_EQ(ex->InvokeEx(99, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &only_this, &result, &exception,
                         nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(ex->InvokeEx(dispid::kVelkoraVersion, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr,
                         &result, &exception, nullptr),
            E_INVALIDARG);

  // A refused argument comes back as the same automation error as through
  // Invoke.
  SAFEARRAYBOUND bound{1, 0};
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&arg) = SafeArrayCreate(VT_VARIANT, 1, &bound);
  DISPPARAMS array_arg{&arg, nullptr, 1, 0};
  EXPECT_EQ(ex->InvokeEx(dispid::kGetRasLCRName, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &array_arg,
                         &result, &exception, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, static_cast<SCODE>(E_UNEXPECTED));
  EXPECT_STREQ(exception.bstrDescription, L"Ung\u00fcltige Variant-Typumwandlung");
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  VariantClear(&arg);
}

TEST_F(AppObjectTest, AServerThatIsEndingCreatesNoObjects) {
  AppClassFactory factory(host_);
  host_.ending = true;
  ComPtr<IDispatch> late;
  EXPECT_EQ(factory.CreateInstance(nullptr, IID_IDispatch, late.put_void()), CO_E_SERVER_STOPPING);
  EXPECT_FALSE(late);
  EXPECT_EQ(factory.LockServer(TRUE), CO_E_SERVER_STOPPING);
  EXPECT_EQ(host_.objects, 1) << "only the fixture's object";
}

TEST_F(AppObjectTest, ExhaustedMemoryIsOutOfMemoryForTheClient) {
  // ShowInfo's box fails for want of memory.
  host_.f_.boxes.inside = [] { throw std::bad_alloc(); };
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  EXPECT_EQ(Call(dispid::kShowInfo, nullptr, 0, nullptr, 0, &result, &exception), DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, static_cast<SCODE>(E_OUTOFMEMORY));
  EXPECT_EQ(exception.bstrDescription, nullptr) << "the client describes the status itself";
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
}

TEST_F(AppObjectTest, EveryAllocationThatFailsEndsInOutOfMemoryOrIsBorneByTheServer) {
  // A call that reaches the server's code: two texts converted, a window
  // search that finds nothing. Each allocation in turn fails once, then
  // every one from it on; the call must answer either as usual (the
  // function's own guard reports what it meets) or with E_OUTOFMEMORY, and
  // nothing may escape.
  for (bool fail_rest : {false, true}) {
    for (long n = 1;; ++n) {
      SCOPED_TRACE(testing::Message() << "allocation " << n << (fail_rest ? " and after" : ""));
      VARIANT args[2];
      VariantInit(&args[0]);
      VariantInit(&args[1]);
      V_VT(&args[0]) = VT_BSTR;
      V_BSTR(&args[0]) = SysAllocString(L";");
      V_VT(&args[1]) = VT_I4;
      V_I4(&args[1]) = 90;
      VARIANT result;
      VariantInit(&result);
      EXCEPINFO exception{};
      allocation_failure = AllocationFailure{true, 0, n, fail_rest};
      const HRESULT hr = Call(dispid::kWndGetList, args, 2, nullptr, 0, &result, &exception);
      const long made = allocation_failure.counted;
      allocation_failure.armed = false;
      EXPECT_TRUE(hr == S_OK ||
                  (hr == DISP_E_EXCEPTION && exception.scode == static_cast<SCODE>(E_OUTOFMEMORY)))
          << std::hex << hr << " " << exception.scode;
      VariantClear(&result);
      SysFreeString(exception.bstrSource);
      SysFreeString(exception.bstrDescription);
      SysFreeString(exception.bstrHelpFile);
      VariantClear(&args[0]);
      if (made < n) break;  // the call got by with fewer allocations
      ASSERT_LT(n, 1000);
    }
  }
}

// A caller's service provider that counts its references.
class CountedCaller final : public IServiceProvider {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (riid != IID_IUnknown && riid != IID_IServiceProvider) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID, REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG references = 1;
};

// JScript's caller is kept from one call to the next (its proxy then stays,
// and no release travels back to the client after each call) and let go
// when another comes and when the object ends.
TEST_F(AppObjectTest, TheLastCallersServiceProviderIsKeptUntilTheObjectEnds) {
  ComPtr<IDispatchEx> ex;
  ASSERT_EQ(object_->QueryInterface(__uuidof(IDispatchEx), ex.put_void()), S_OK);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  CountedCaller first, second;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ex->InvokeEx(dispid::kVelkoraVersion, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                           nullptr, nullptr, &first),
              S_OK);
  }
  EXPECT_EQ(first.references, 2u);
  EXPECT_EQ(ex->InvokeEx(dispid::kVelkoraVersion, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                         nullptr, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(ex->InvokeEx(dispid::kVelkoraVersion, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                         nullptr, nullptr, &second),
            S_OK);
  EXPECT_EQ(first.references, 1u);
  EXPECT_EQ(second.references, 2u);
  ex.reset();
  object_.reset();
  EXPECT_EQ(host_.objects, 0);
  EXPECT_EQ(second.references, 1u);
}

TEST_F(AppObjectTest, TheLastReleaseEndsTheObject) {
  // An object asked for an interface it lacks is gone at once; the one
  // handed out lives until its last reference goes.
  AppClassFactory factory(host_);
  ComPtr<IClassFactory> wrong;
  EXPECT_EQ(factory.CreateInstance(nullptr, IID_IClassFactory, wrong.put_void()), E_NOINTERFACE);
  EXPECT_FALSE(wrong);
  EXPECT_EQ(host_.objects, 1);
  ComPtr<IDispatch> second = ComPtr<IDispatch>::Copy(object_.get());
  object_.reset();
  EXPECT_EQ(host_.objects, 1);
  second.reset();
  EXPECT_EQ(host_.objects, 0);
}

}  // namespace
}  // namespace velkora::win32
