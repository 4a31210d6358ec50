#include "base/variant.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace velkora {
namespace {

const FormatSettings kGerman = FormatSettings::German();
const FormatSettings kPoint;  // decimal point, comma for thousands

struct RealCase {
  double value;
  const char* text;  // with a decimal point
};

class R8TextTest : public testing::TestWithParam<RealCase> {};

TEST_P(R8TextTest, FifteenDigitsShortestForm) {
  EXPECT_EQ(VariantToText(Variant::R8(GetParam().value), kPoint), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, R8TextTest,
    testing::Values(RealCase{0.56789, "0.56789"}, RealCase{5.6789e-11, "0.000000000056789"},
                    RealCase{5.6789e-12, "5.6789E-12"}, RealCase{1e-15, "0.000000000000001"},
                    RealCase{1.5e-15, "1.5E-15"}, RealCase{1e15, "1E+15"},
                    RealCase{1.2e15, "1.2E+15"}, RealCase{999999999999999, "999999999999999"},
                    RealCase{-1e100, "-1E+100"},
                    RealCase{3.14159265358979323846, "3.14159265358979"},
                    RealCase{12.345678901234567, "12.3456789012346"}, RealCase{0, "0"},
                    RealCase{-0.0, "0"}, RealCase{-2.5, "-2.5"},
                    RealCase{1234567.125, "1234567.125"}, RealCase{0.1 + 0.2, "0.3"}));

TEST(VariantToTextTest, ScalarTypes) {
  EXPECT_EQ(VariantToText(Variant(), kGerman), "");
  EXPECT_EQ(VariantToText(Variant::Bool(true), kGerman), "-1");
  EXPECT_EQ(VariantToText(Variant::Bool(false), kGerman), "0");
  EXPECT_EQ(VariantToText(Variant::I2(-32768), kGerman), "-32768");
  EXPECT_EQ(VariantToText(Variant::I4(2147483647), kGerman), "2147483647");
  EXPECT_EQ(VariantToText(Variant::Ui1(255), kGerman), "255");
  EXPECT_EQ(VariantToText(Variant::Text("a;b"), kGerman), "a;b");
  EXPECT_EQ(VariantToText(Variant::R8(0.5), kGerman), "0,5");
  EXPECT_EQ(VariantToText(Variant::R8(1234567.5), kGerman), "1234567,5") << "no grouping";
  EXPECT_EQ(VariantToText(Variant::R8(1.5e20), kGerman), "1,5E+20");
  EXPECT_EQ(VariantToText(Variant::R4(654322.23456f), kPoint), "654322.3");
  EXPECT_EQ(VariantToText(Variant::R4(0.1f), kPoint), "0.1");
  EXPECT_EQ(VariantToText(Variant::R4(12345678.0f), kPoint), "1.234568E+07");
  EXPECT_EQ(VariantToText(Variant::Currency(12345), kGerman), "1,2345");
  EXPECT_EQ(VariantToText(Variant::Currency(-150000), kGerman), "-15");
  EXPECT_EQ(VariantToText(Variant::Currency(INT64_MIN), kPoint), "-922337203685477.5808");
}

// Values beyond a double's 53 bits must keep every digit, as the platform's
// own conversion does: a script's 64-bit counter or a decimal amount from a
// database must not come out rounded.
TEST(VariantToTextTest, WideIntegersAndDecimalsKeepEveryDigit) {
  EXPECT_EQ(VariantToText(Variant::I8(9007199254740993), kGerman), "9007199254740993");
  EXPECT_EQ(VariantToText(Variant::I8(INT64_MIN), kGerman), "-9223372036854775808");
  EXPECT_EQ(VariantToText(Variant::Ui8(UINT64_MAX), kGerman), "18446744073709551615");
  EXPECT_EQ(VariantToText(Variant::Ui4(4294967295u), kGerman), "4294967295");
  EXPECT_EQ(VariantToText(Variant::Uint(4294967295u), kGerman), "4294967295");
  EXPECT_EQ(VariantToText(Variant::I1(-128), kGerman), "-128");
  EXPECT_EQ(VariantToText(Variant::Ui2(65535), kGerman), "65535");
  EXPECT_EQ(VariantToText(Variant::Int(-7), kGerman), "-7");

  auto dec = [](uint8_t scale, bool negative, uint32_t hi, uint64_t lo) {
    return Variant::Dec(Decimal{scale, negative, hi, lo});
  };
  EXPECT_EQ(VariantToText(dec(0, false, 0, 0), kPoint), "0");
  EXPECT_EQ(VariantToText(dec(3, true, 0, 0), kPoint), "0");
  EXPECT_EQ(VariantToText(dec(3, false, 0, 1000), kPoint), "1");
  EXPECT_EQ(VariantToText(dec(2, false, 0, 150), kPoint), "1.5");
  EXPECT_EQ(VariantToText(dec(1, true, 0, 15), kGerman), "-1,5");
  EXPECT_EQ(VariantToText(dec(7, false, 0, 9000), kGerman), "0,0009");
  EXPECT_EQ(VariantToText(dec(0, false, 1, 0), kPoint), "18446744073709551616");
  EXPECT_EQ(VariantToText(dec(0, false, 0xFFFFFFFF, UINT64_MAX), kPoint),
            "79228162514264337593543950335");
  EXPECT_EQ(VariantToText(dec(10, false, 0xFFFFFFFF, UINT64_MAX), kPoint),
            "7922816251426433759.3543950335");
  EXPECT_EQ(VariantToText(dec(28, false, 0xFFFFFFFF, UINT64_MAX), kPoint),
            "7.9228162514264337593543950335");
  EXPECT_EQ(VariantToText(dec(10, false, 0, 1), kPoint), "0.0000000001");

  EXPECT_EQ(Variant::Ui4(7).Type(), kVtUi4);
  EXPECT_EQ(Variant::I8(7).Type(), 20);
  EXPECT_EQ(Variant::Ui8(7).Type(), 21);
  EXPECT_EQ(dec(0, false, 0, 7).Type(), 14);
  EXPECT_EQ(Variant::Ui4(4294967295u).AsInteger(), 4294967295);
  EXPECT_THROW(Variant::Ui8(1).AsInteger(), VariantTypeError);
  EXPECT_THROW(Variant::R8(1).AsInteger(), VariantTypeError);
  EXPECT_EQ(TypeName(dec(0, false, 0, 7)), "Decimal");
}

TEST(VariantToTextTest, Dates) {
  EXPECT_EQ(VariantToText(Variant::Date(46363 + 0.25), kGerman), "07.12.2026 06:00:00");
  EXPECT_EQ(VariantToText(Variant::Date(46363), kGerman), "07.12.2026");
  EXPECT_EQ(VariantToText(Variant::Date(0.75), kGerman), "18:00:00");
  EXPECT_EQ(VariantToText(Variant::Date(0), kGerman), "00:00:00");
  EXPECT_EQ(VariantToText(Variant::Date(-1.25), kGerman), "29.12.1899 06:00:00");
  EXPECT_THROW(VariantToText(Variant::Date(1e10), kGerman), VariantTypeError);
}

TEST(VariantToTextTest, FollowsReferences) {
  Variant target = Variant::R8(2.5);
  Variant ref = Variant::ByRef(&target);
  Variant ref_of_ref = Variant::ByRef(&ref);
  EXPECT_EQ(VariantToText(ref, kGerman), "2,5");
  EXPECT_EQ(VariantToText(ref_of_ref, kGerman), "2,5");
  EXPECT_EQ(&ref.Deref(), &target);
  Variant array = Variant::Array(kVtVariant);
  EXPECT_THROW(VariantToText(Variant::ByRef(&array), kGerman), VariantTypeError);
  EXPECT_THROW(VariantToText(Variant::ByRef(nullptr), kGerman), VariantTypeError);
}

TEST(VariantToTextTest, RefusesValuesWithoutText) {
  Variant loop;
  loop = Variant::ByRef(&loop);
  for (const Variant& v : {Variant::Null(), Variant::Dispatch(), Variant::Unknown(),
                           Variant::ErrorCode(0), Variant::Array(kVtBstr), loop}) {
    try {
      VariantToText(v, kGerman);
      ADD_FAILURE() << TypeName(v) << " converted";
    } catch (const VariantTypeError& e) {
      EXPECT_EQ(e.Message(), "Ungültige Variant-Typumwandlung");
    }
  }
}

TEST(VariantTest, TypeCodesAndAccessors) {
  Variant target;
  EXPECT_EQ(Variant::ByRef(&target).Type(), 0x400C);
  EXPECT_EQ(Variant::Array(kVtVariant).Type(), 0x200C);
  EXPECT_TRUE(Variant::Array(kVtI4).IsArray());
  EXPECT_EQ(Variant::R4(0.5f).AsR4(), 0.5f);
  EXPECT_EQ(Variant::ErrorCode(-5).AsErrorCode(), -5);
  EXPECT_THROW(Variant::I2(1).AsI4(), VariantTypeError);
  EXPECT_EQ(TypeName(Variant::I2(1)), "Integer");
  EXPECT_EQ(TypeName(Variant::ByRef(&target)), "ByRef Variant");
}

TEST(TextToBoolTest, WordsThenLocaleNumbers) {
  struct {
    const char* text;
    bool value;
  } cases[] = {
      {"True", true}, {"tRUE", true}, {"FALSE", false}, {"#TRUE#", true}, {"#FALSE#", false},
      {"1", true},    {"-1", true},   {"0", false},     {"0,0", false},   {"1.5", true},
      {"0,5", true},  {" 0 ", false}, {"1.000", true},  {"1e3", true},    {"0e5", false},
      {"&H0", false}, {"&h1F", true},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToBool(c.text, kGerman), c.value) << c.text;
  EXPECT_FALSE(TextToBool("0.0", kPoint));
  EXPECT_TRUE(TextToBool("1,000", kPoint));
}

TEST(TextToBoolTest, RefusesOtherWords) {
  for (const char* text :
       {"", "Wahr", "Falsch", "On", "Yes", "#true#", "T", "True ", ".5", "1,2,3", "&H", "&HG"}) {
    try {
      TextToBool(text, kGerman);
      ADD_FAILURE() << text << " converted";
    } catch (const VariantTypeError& e) {
      EXPECT_EQ(e.Message(), "Ungültige Variant-Typumwandlung");
    }
  }
}

TEST(ErrorTest, MessagesAndStatus) {
  EXPECT_EQ(VariantTypeError().Status(), 0);
  EXPECT_EQ(FormatSettings::German().short_date_format, "dd.mm.yyyy");
}

}  // namespace
}  // namespace velkora
