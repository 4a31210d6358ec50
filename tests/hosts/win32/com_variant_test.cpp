#include "hosts/win32/com_variant.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(v.Deref().AsText(), "Gr\xFC\xDF" "e");  // code page 1252
  VariantClear(&inner);
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
  V_VT(&value) = VT_UI4;
  V_UI4(&value) = 4000000000u;
  EXPECT_EQ(FromComVariant(value, referents), Variant::R8(4000000000.0));
}

TEST(ComVariant, ResultsBecomeAutomationTypes) {
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(ToComVariant(Variant::Bool(true), &out), S_OK);
  EXPECT_EQ(V_VT(&out), VT_BOOL);
  EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE);

  VariantInit(&out);
  ASSERT_EQ(ToComVariant(Variant::Text("\xFC" "ber"), &out), S_OK);
  ASSERT_EQ(V_VT(&out), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&out), L"\u00fcber");
  VariantClear(&out);

  VariantInit(&out);
  ASSERT_EQ(ToComVariant(Variant::I4(-7), &out), S_OK);
  EXPECT_EQ(V_VT(&out), VT_I4);
  EXPECT_EQ(V_I4(&out), -7);
}

}  // namespace
}  // namespace velkora::win32
