// The App object's IDispatch in-process: the type information of the built
// velkora.exe drives it exactly as it does for a remote script host.
#include "hosts/win32/app_object.h"

#include <dispex.h>

#include <gtest/gtest.h>

#include <cstdlib>
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
    if (f.counted == f.fail_from || (f.fail_rest && f.counted > f.fail_from)) throw std::bad_alloc();
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
  EXPECT_EQ(Call(dispid::kWindowExists, &arg, 1, nullptr, 0, &result, &exception), DISP_E_EXCEPTION);
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

TEST_F(AppObjectTest, TheLastReleaseEndsTheObject) {
  object_.reset();
  EXPECT_EQ(host_.objects, 0);
}

}  // namespace
}  // namespace velkora::win32
