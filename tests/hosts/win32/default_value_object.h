#pragma once

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

namespace velkora::win32 {

// A script object as the server meets it in an argument: its default value
// (DISPID_VALUE, read as a property without arguments) is `value`; with
// `value` left empty it has none, and asking for it fails the way it fails
// for an object without a default member. Counts the times it was asked.
// Lives on the stack: references are counted but never free it.
class DefaultValueObject final : public IDispatch {
 public:
  DefaultValueObject() { VariantInit(&value); }
  DefaultValueObject(const DefaultValueObject&) = delete;
  DefaultValueObject& operator=(const DefaultValueObject&) = delete;
  ~DefaultValueObject() { VariantClear(&value); }

  // The default value is text.
  void SetText(const wchar_t* text) {
    VariantClear(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(text);
  }
  // The default value is another object (this one, for a loop).
  void SetObject(IDispatch* object) {
    VariantClear(&value);
    V_VT(&value) = VT_DISPATCH;
    V_DISPATCH(&value) = object;
    object->AddRef();
  }
  // The argument a script passes when it hands over this object.
  VARIANT AsArgument() {
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_DISPATCH;
    V_DISPATCH(&arg) = this;
    return arg;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    ++asked;
    if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (V_VT(&value) == VT_EMPTY) return DISP_E_MEMBERNOTFOUND;
    if (params != nullptr && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    return result != nullptr ? VariantCopy(result, &value) : S_OK;
  }

  VARIANT value;
  int asked = 0;
  ULONG references = 1;
};

}  // namespace velkora::win32
