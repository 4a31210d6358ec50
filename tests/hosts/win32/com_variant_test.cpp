#include "hosts/win32/com_variant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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
}

// The platform's own text of a value, as a client's conversion would give it.
std::string PlatformText(VARIANT& value) {
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeTypeEx(&text, &value, LOCALE_USER_DEFAULT, 0, VT_BSTR))) return "<no text>";
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
  } decimals[] = {{0, 0, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFFull}, {28, 0, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFFull},
                  {2, DECIMAL_NEG, 0, 150},  {7, 0, 0, 9000}, {0, 0, 0, 0}, {3, 0, 0, 12345678901234567ull}};
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
