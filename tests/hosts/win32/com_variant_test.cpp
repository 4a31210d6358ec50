#include "hosts/win32/com_variant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/error.h"
#include "hosts/win32/com_owners.h"
#include "hosts/win32/default_value_object.h"
#include "platform/win32/win32_locale.h"

namespace velkora::win32 {
namespace {

TEST(ComVariant, ScriptVariablesArriveByReference) {
  VARIANT inner;
  VariantInit(&inner);
  V_VT(&inner) = VT_BSTR;
  V_BSTR(&inner) = SysAllocString(L"Gr\u00fc\u00dfe");
  VARIANT ref;
  VariantInit(&ref);
  V_VT(&ref) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&ref) = &inner;

  std::deque<Variant> referents;
  Variant v = FromComVariant(ref, referents);
  ASSERT_TRUE(v.IsByRef());
  EXPECT_EQ(v.Deref().AsText(),
            "Gr\xFC\xDF"
            "e");  // code page 1252
  VariantClear(&inner);
}

// A reference that leads back to itself, from a client that built its
// arguments by hand, is refused instead of followed for ever.
TEST(ComVariant, AReferenceLoopIsRefused) {
  VARIANT loop;
  VariantInit(&loop);
  V_VT(&loop) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&loop) = &loop;
  std::deque<Variant> referents;
  EXPECT_THROW(VariantToText(FromComVariant(loop, referents), FormatSettings{}), VariantTypeError);
  EXPECT_THROW(VariantToText(TextArgumentFromComVariant(loop, referents), FormatSettings{}),
               VariantTypeError);
}

TEST(ComVariant, OtherReferencesAreReadThroughAndTextKeepsEmbeddedZeros) {
  std::deque<Variant> referents;
  LONG number = 42;
  VARIANT ref;
  VariantInit(&ref);
  V_VT(&ref) = VT_BYREF | VT_I4;
  V_I4REF(&ref) = &number;
  EXPECT_EQ(FromComVariant(ref, referents), Variant::I4(42));

  BSTR text = SysAllocStringLen(L"a\0b", 3);
  V_VT(&ref) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&ref) = &text;
  EXPECT_EQ(FromComVariant(ref, referents), Variant::Text(std::string("a\0b", 3)));
  SysFreeString(text);

  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(ToComVariant(Variant::Text(std::string("x\0y", 3)), &out), S_OK);
  ASSERT_EQ(V_VT(&out), VT_BSTR);
  EXPECT_EQ(SysStringLen(V_BSTR(&out)), 3u);
  EXPECT_EQ(V_BSTR(&out)[2], L'y');
  VariantClear(&out);
}

TEST(ComVariant, ArraysObjectsAndOddTypesAreMarkedNotConverted) {
  std::deque<Variant> referents;
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&value) = nullptr;
  EXPECT_TRUE(FromComVariant(value, referents).IsArray());
  V_VT(&value) = VT_DISPATCH;
  V_DISPATCH(&value) = nullptr;
  EXPECT_EQ(FromComVariant(value, referents).Type(), kVtDispatch);
}

// The platform's own text of a value, as a client's conversion would give it.
std::string PlatformText(VARIANT& value) {
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeTypeEx(&text, &value, LOCALE_USER_DEFAULT, 0, VT_BSTR)))
    return "<no text>";
  std::string result = AnsiFromWide(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
  VariantClear(&text);
  return result;
}

// Wide integers and decimals went through a double and lost digits; each
// must arrive with its type code and show the text the platform gives it.
TEST(ComVariant, NumbersKeepTheirTypeAndEveryDigit) {
  const FormatSettings fs = Win32Locale().Formats();
  std::deque<Variant> referents;
  std::vector<VARIANT> values;
  auto add = [&](VARTYPE type, auto set) {
    VARIANT v;
    VariantInit(&v);
    set(v);
    if (type != VT_DECIMAL) V_VT(&v) = type;
    values.push_back(v);
  };
  add(VT_I8, [](VARIANT& v) { V_I8(&v) = 9007199254740993LL; });
  add(VT_I8, [](VARIANT& v) { V_I8(&v) = INT64_MIN; });
  add(VT_UI8, [](VARIANT& v) { V_UI8(&v) = UINT64_MAX; });
  add(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 4294967295u; });
  add(VT_UINT, [](VARIANT& v) { V_UINT(&v) = 4000000000u; });
  add(VT_INT, [](VARIANT& v) { V_INT(&v) = -5; });
  add(VT_I1, [](VARIANT& v) { V_I1(&v) = -128; });
  add(VT_UI2, [](VARIANT& v) { V_UI2(&v) = 65535; });
  add(VT_CY, [](VARIANT& v) { V_CY(&v).int64 = 9007199254740993LL; });
  add(VT_CY, [](VARIANT& v) { V_CY(&v).int64 = -15000; });
  const struct {
    BYTE scale;
    BYTE sign;
    ULONG hi;
    ULONGLONG lo;
  } decimals[] = {{0, 0, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFFull},
                  {28, 0, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFFull},
                  {2, DECIMAL_NEG, 0, 150},
                  {7, 0, 0, 9000},
                  {0, 0, 0, 0},
                  {3, 0, 0, 12345678901234567ull}};
  for (const auto& d : decimals) {
    add(VT_DECIMAL, [&](VARIANT& v) {
      V_DECIMAL(&v).scale = d.scale;
      V_DECIMAL(&v).sign = d.sign;
      V_DECIMAL(&v).Hi32 = d.hi;
      V_DECIMAL(&v).Lo64 = d.lo;
      V_VT(&v) = VT_DECIMAL;
    });
  }
  for (VARIANT& value : values) {
    const std::string expected = PlatformText(value);
    const Variant v = FromComVariant(value, referents);
    EXPECT_EQ(v.Type(), V_VT(&value)) << expected;
    EXPECT_EQ(VariantToText(v, fs), expected) << "type " << V_VT(&value);
    // And back, unchanged.
    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(ToComVariant(v, &out), S_OK);
    EXPECT_EQ(V_VT(&out), V_VT(&value));
    EXPECT_EQ(PlatformText(out), expected);
  }
}

TEST(ComVariant, ResultsBecomeAutomationTypes) {
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(ToComVariant(Variant::Bool(true), &out), S_OK);
  EXPECT_EQ(V_VT(&out), VT_BOOL);
  EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE);

  VariantInit(&out);
  ASSERT_EQ(ToComVariant(Variant::Text("\xFC"
                                       "ber"),
                         &out),
            S_OK);
  ASSERT_EQ(V_VT(&out), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&out), L"\u00fcber");
  VariantClear(&out);

  VariantInit(&out);
  ASSERT_EQ(ToComVariant(Variant::I4(-7), &out), S_OK);
  EXPECT_EQ(V_VT(&out), VT_I4);
  EXPECT_EQ(V_I4(&out), -7);
}

TEST(TextArguments, AnObjectStandsForItsDefaultValue) {
  std::deque<Variant> referents;
  DefaultValueObject folder;
  folder.SetText(L"C:\\Daten");
  VARIANT arg = folder.AsArgument();
  EXPECT_EQ(TextArgumentFromComVariant(arg, referents), Variant::Text("C:\\Daten"));
  // Held by a script variable: a reference to the variable.
  VARIANT variable;
  VariantInit(&variable);
  V_VT(&variable) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&variable) = &arg;
  EXPECT_EQ(TextArgumentFromComVariant(variable, referents), Variant::Text("C:\\Daten"));
  // A default value that is an object again is followed.
  DefaultValueObject outer;
  outer.SetObject(&folder);
  EXPECT_EQ(TextArgumentFromComVariant(outer.AsArgument(), referents), Variant::Text("C:\\Daten"));
  EXPECT_EQ(folder.asked, 3);
  EXPECT_EQ(folder.references, 2u) << "only the outer object's own reference is left";
  // Values that are no object stay as they are.
  VARIANT number;
  VariantInit(&number);
  V_VT(&number) = VT_I4;
  V_I4(&number) = 90;
  EXPECT_EQ(TextArgumentFromComVariant(number, referents), Variant::I4(90));
}

TEST(TextArguments, ObjectsWithoutADefaultValueAreRefused) {
  std::deque<Variant> referents;
  DefaultValueObject none;
  EXPECT_EQ(TextArgumentFromComVariant(none.AsArgument(), referents).Type(), kVtDispatch);
  VARIANT nothing;
  VariantInit(&nothing);
  V_VT(&nothing) = VT_DISPATCH;
  V_DISPATCH(&nothing) = nullptr;
  EXPECT_EQ(TextArgumentFromComVariant(nothing, referents).Type(), kVtDispatch);
  // An object whose default value is itself ends after a few steps.
  DefaultValueObject loop;
  loop.SetObject(&loop);
  EXPECT_EQ(TextArgumentFromComVariant(loop.AsArgument(), referents).Type(), kVtDispatch);
  EXPECT_EQ(loop.asked, 8);
  EXPECT_EQ(loop.references, 2u);
}

// The script runtime's own objects, as a script passes them.
ComPtr<IDispatch> Create(const wchar_t* prog_id) {
  CLSID clsid;
  ComPtr<IDispatch> object;
  if (SUCCEEDED(CLSIDFromProgID(prog_id, &clsid))) {
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void());
  }
  return object;
}

TEST(TextArguments, AFolderGivesItsPathADictionaryNothing) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    std::deque<Variant> referents;
    ComPtr<IDispatch> files = Create(L"Scripting.FileSystemObject");
    ASSERT_TRUE(files);
    wchar_t get_folder[] = L"GetFolder";
    LPOLESTR names[] = {get_folder};
    DISPID id = 0;
    ASSERT_EQ(files->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    VARIANT path;
    VariantInit(&path);
    V_VT(&path) = VT_BSTR;
    V_BSTR(&path) = SysAllocString(L"C:\\windows");
    DISPPARAMS params{&path, nullptr, 1, 0};
    UniqueVariant folder;
    ASSERT_EQ(
        files->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, folder.put(), nullptr, nullptr),
        S_OK);
    VariantClear(&path);
    ASSERT_EQ(V_VT(&folder.get()), VT_DISPATCH);
    const Variant text = TextArgumentFromComVariant(folder.get(), referents);
    ASSERT_EQ(text.Type(), kVtBstr);
    EXPECT_EQ(_stricmp(text.AsText().c_str(), "C:\\windows"), 0) << text.AsText();

    ComPtr<IDispatch> dictionary = Create(L"Scripting.Dictionary");
    ASSERT_TRUE(dictionary);
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_DISPATCH;
    V_DISPATCH(&arg) = dictionary.get();
    EXPECT_EQ(TextArgumentFromComVariant(arg, referents).Type(), kVtDispatch);
  }
  CoUninitialize();
}

}  // namespace
}  // namespace velkora::win32
