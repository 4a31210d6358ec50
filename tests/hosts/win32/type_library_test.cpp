// The type library embedded in velkora.exe must state exactly what the
// method table of the portable core says: the DISPIDs clients bind to, the
// vtable order early-bound clients call, and the parameter names.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "automation/method_table.h"
#include "hosts/win32/com_owners.h"
#include "hosts/win32/com_variant.h"
#include "hosts/win32/server_path.h"
#include "velkora_idl.h"

namespace velkora::win32 {
namespace {

std::string Narrow(BSTR text) { return AnsiFromWide(text, SysStringLen(text)); }

std::string Documentation(ITypeInfo* info, MEMBERID id, std::wstring* doc = nullptr) {
  UniqueBstr name;
  UniqueBstr doc_string;
  if (FAILED(info->GetDocumentation(id, name.put(), doc_string.put(), nullptr, nullptr))) {
    return "<none>";
  }
  if (doc != nullptr) *doc = doc_string.get() ? doc_string.get() : L"";
  return Narrow(name.get());
}

class TypeLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadTypeLib(ServerPath().c_str(), library_.put()), S_OK);
    ASSERT_EQ(library_->GetTypeInfoOfGuid(IID_IApp, dispatch_.put()), S_OK);
    HREFTYPE vtable = 0;
    ASSERT_EQ(dispatch_->GetRefTypeOfImplType(-1, &vtable), S_OK);
    ASSERT_EQ(dispatch_->GetRefTypeInfo(vtable, interface_.put()), S_OK);
  }

  ComPtr<ITypeLib> library_;
  ComPtr<ITypeInfo> dispatch_;
  ComPtr<ITypeInfo> interface_;
};

TEST_F(TypeLibraryTest, LibraryInterfaceAndClassCarryTheirIdentity) {
  TLIBATTR* lib = nullptr;
  ASSERT_EQ(library_->GetLibAttr(&lib), S_OK);
  EXPECT_TRUE(IsEqualGUID(lib->guid, LIBID_ScriptFunctions));
  EXPECT_EQ(lib->wMajorVerNum, 1);
  EXPECT_EQ(lib->wMinorVerNum, 0);
  EXPECT_EQ(lib->lcid, 0u);
  // None of restricted, control, hidden (the loader may add "has disk image").
  EXPECT_EQ(lib->wLibFlags & (LIBFLAG_FRESTRICTED | LIBFLAG_FCONTROL | LIBFLAG_FHIDDEN), 0);
  library_->ReleaseTLibAttr(lib);
  UniqueBstr name;
  UniqueBstr doc;
  ASSERT_EQ(library_->GetDocumentation(-1, name.put(), doc.put(), nullptr, nullptr), S_OK);
  EXPECT_STREQ(name.get(), L"ScriptFunctions");
  EXPECT_STREQ(doc.get(), L"Velkora Bibliothek");
  EXPECT_EQ(library_->GetTypeInfoCount(), 2u);

  std::wstring interface_doc;
  EXPECT_EQ(Documentation(dispatch_.get(), MEMBERID_NIL, &interface_doc), "IApp");
  EXPECT_EQ(interface_doc, L"Dispatch-Schnittstelle f\u00fcr App-Objekt");
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(dispatch_->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE),
            TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE);
  EXPECT_EQ(attr->lcid, 0u);
  dispatch_->ReleaseTypeAttr(attr);
  ASSERT_EQ(interface_->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  EXPECT_TRUE(IsEqualGUID(attr->guid, IID_IApp));
  EXPECT_EQ(attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE, TYPEFLAG_FDISPATCHABLE);
  EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION),
            TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->cFuncs, kMethodCount);
  EXPECT_EQ(attr->cbSizeVft, 25 * sizeof(void*));
  interface_->ReleaseTypeAttr(attr);

  // IApp derives from IDispatch of the standard OLE library.
  HREFTYPE base_ref = 0;
  ComPtr<ITypeInfo> base;
  ASSERT_EQ(interface_->GetRefTypeOfImplType(0, &base_ref), S_OK);
  ASSERT_EQ(interface_->GetRefTypeInfo(base_ref, base.put()), S_OK);
  EXPECT_EQ(Documentation(base.get(), MEMBERID_NIL), "IDispatch");
  ComPtr<ITypeLib> stdole;
  UINT index = 0;
  ASSERT_EQ(base->GetContainingTypeLib(stdole.put(), &index), S_OK);
  TLIBATTR* stdole_attr = nullptr;
  ASSERT_EQ(stdole->GetLibAttr(&stdole_attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(stdole_attr->guid, IID_StdOle));
  stdole->ReleaseTLibAttr(stdole_attr);

  ComPtr<ITypeInfo> app;
  ASSERT_EQ(library_->GetTypeInfoOfGuid(CLSID_App, app.put()), S_OK);
  std::wstring class_doc;
  EXPECT_EQ(Documentation(app.get(), MEMBERID_NIL, &class_doc), "App");
  EXPECT_EQ(class_doc, L"App Objekt");
  ASSERT_EQ(app->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCANCREATE);
  EXPECT_EQ(attr->cImplTypes, 1);
  app->ReleaseTypeAttr(attr);
  INT flags = 0;
  ASSERT_EQ(app->GetImplTypeFlags(0, &flags), S_OK);
  EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
}

TEST_F(TypeLibraryTest, MethodsMatchTheMethodTable) {
  const auto table = MethodTable();
  ASSERT_EQ(table.size(), static_cast<std::size_t>(kMethodCount));
  for (UINT i = 0; i < table.size(); ++i) {
    const MethodInfo& method = table[i];
    SCOPED_TRACE(std::string(method.name));
    FUNCDESC* func = nullptr;
    ASSERT_EQ(interface_->GetFuncDesc(i, &func), S_OK);
    EXPECT_EQ(func->memid, method.dispid);
    EXPECT_EQ(func->oVft,
              static_cast<SHORT>((7 + i) * sizeof(void*)));  // after IUnknown, IDispatch
    EXPECT_EQ(func->funckind, FUNC_PUREVIRTUAL);
    EXPECT_EQ(func->invkind, INVOKE_FUNC);
    EXPECT_EQ(func->callconv, CC_STDCALL);
    EXPECT_EQ(func->cParamsOpt, 0);
    EXPECT_EQ(func->elemdescFunc.tdesc.vt, VT_HRESULT);
    const bool has_result = method.result != ResultKind::kNone;
    ASSERT_EQ(func->cParams, static_cast<SHORT>(method.params.size() + (has_result ? 1 : 0)));
    for (SHORT p = 0; p < func->cParams; ++p) {
      const ELEMDESC& param = func->lprgelemdescParam[p];
      if (static_cast<std::size_t>(p) < method.params.size()) {
        EXPECT_EQ(param.tdesc.vt, VT_VARIANT);
        EXPECT_EQ(param.paramdesc.wParamFlags, PARAMFLAG_FIN);
      } else {
        ASSERT_EQ(param.tdesc.vt, VT_PTR);
        EXPECT_EQ(param.tdesc.lptdesc->vt, VT_VARIANT);
        EXPECT_EQ(param.paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
      }
    }

    BSTR names[8] = {};
    UINT count = 0;
    ASSERT_EQ(interface_->GetNames(func->memid, names, 8, &count), S_OK);
    ASSERT_EQ(count, static_cast<UINT>(func->cParams + 1));
    EXPECT_EQ(Narrow(names[0]), method.name);
    for (std::size_t p = 0; p < method.params.size(); ++p) {
      EXPECT_EQ(Narrow(names[p + 1]), method.params[p]);
    }
    if (has_result) {
      EXPECT_EQ(Narrow(names[count - 1]), "Ergebnis");
    }
    for (UINT n = 0; n < count; ++n) SysFreeString(names[n]);
    // No help strings or help contexts on the methods.
    UniqueBstr doc;
    DWORD help_context = 1;
    ASSERT_EQ(interface_->GetDocumentation(func->memid, nullptr, doc.put(), &help_context, nullptr),
              S_OK);
    EXPECT_EQ(doc.get(), nullptr);
    EXPECT_EQ(help_context, 0u);
    interface_->ReleaseFuncDesc(func);

    // Late binding finds the DISPID in any letter case.
    std::wstring lower = WideFromAnsi(std::string(method.name));
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    LPOLESTR lookup = lower.data();
    DISPID id = 0;
    ASSERT_EQ(DispGetIDsOfNames(interface_.get(), &lookup, 1, &id), S_OK);
    EXPECT_EQ(id, method.dispid);
  }
}

// The manifest names no processor: a 32-bit build of the same sources must
// start as well, and the loader refuses an executable whose manifest names
// another processor than its own.
TEST(Manifest, TheApplicationNamesNoProcessor) {
  HMODULE exe = LoadLibraryExW(ServerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const char* data = static_cast<const char*>(LockResource(LoadResource(exe, found)));
  ASSERT_NE(data, nullptr);
  const std::string manifest(data, SizeofResource(exe, found));
  FreeLibrary(exe);
  const std::size_t identity = manifest.find("<assemblyIdentity");
  ASSERT_NE(identity, std::string::npos);
  const std::string own = manifest.substr(identity, manifest.find("/>", identity) - identity);
  EXPECT_NE(own.find("name=\"Velkora.ScriptFunctions\""), std::string::npos) << own;
  EXPECT_NE(own.find("processorArchitecture=\"*\""), std::string::npos) << own;
}

}  // namespace
}  // namespace velkora::win32
