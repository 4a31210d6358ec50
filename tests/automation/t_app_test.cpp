#include "automation/t_app.h"

#include <gtest/gtest.h>

#include <new>

#include "automation/dispatcher.h"
#include "base/error.h"
#include "fakes/shell_fixture.h"
#include "server/haupt.h"

namespace velkora {
namespace {

const Variant kTextTarget = Variant::Text("Editor");
const Variant kNumberTarget = Variant::I2(90);
const Variant kArrayTarget = Variant::Array(kVtVariant);

struct TextCase {
  const char* label;
  Variant arg;
  const char* expected;
};

class ArgumentTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ArgumentTextTest, GermanFormats) {
  EXPECT_EQ(ArgumentText(GetParam().arg, FormatSettings::German()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentTextTest,
    ::testing::Values(TextCase{"text", Variant::Text("a \"b\"\r\n"), "a \"b\"\r\n"},
                      TextCase{"empty", Variant(), ""},
                      TextCase{"i2", Variant::I2(-5), "-5"},
                      TextCase{"i4", Variant::I4(40000), "40000"},
                      TextCase{"r8", Variant::R8(0.5), "0,5"},
                      TextCase{"r8big", Variant::R8(1e15), "1E+15"},
                      TextCase{"true", Variant::Bool(true), "-1"},
                      TextCase{"false", Variant::Bool(false), "0"},
                      TextCase{"date", Variant::Date(EncodeDate(2011, 1, 1)), "01.01.2011"},
                      TextCase{"byref_text", Variant::ByRef(&kTextTarget), "Editor"},
                      TextCase{"byref_number", Variant::ByRef(&kNumberTarget), "90"}),
    [](const auto& info) { return std::string(info.param.label); });

const MethodInfo& Method(int32_t id) { return *Dispatcher::Find(id); }

class TAppTest : public ::testing::Test {
 protected:
  fakes::ShellFixture f;
  THaupt haupt{f.shell, StartSettings{}, {"/bin/velkora"}};
  TApp app{haupt, f.locale};

  void ExpectTypeMismatchWithoutTrace(const CallResult& r) {
    ASSERT_TRUE(r.error.has_value());
    EXPECT_EQ(r.error->source, "ScriptFunctions.App");
    EXPECT_EQ(r.error->description, "Ungültige Variant-Typumwandlung");
    EXPECT_EQ(r.error->status, kStatusUnexpected);
    EXPECT_EQ(r.value, Variant());
    EXPECT_EQ(haupt.StatusLine(), "");
    EXPECT_EQ(f.files.append_calls, 0);
    EXPECT_TRUE(f.boxes.shown.empty());
  }
};

TEST_F(TAppTest, ValuesWithoutTextFormAreRefusedBeforeAnythingRuns) {
  const std::vector<Variant> bad = {Variant::Null(), Variant::Array(kVtI4),
                                    Variant::ByRef(&kArrayTarget), Variant::Dispatch(),
                                    Variant::Unknown(), Variant::ErrorCode(-2147352572)};
  for (const Variant& v : bad) {
    SCOPED_TRACE(TypeName(v));
    // A not-yet-built method and a built one behave alike.
    const std::vector<Variant> wnd{Variant::Text("^Edi"), v};
    ExpectTypeMismatchWithoutTrace(app.Call(Method(dispid::kWndGetList), wnd));
    const std::vector<Variant> ini{v, Variant::Text("s"), Variant::Text("k"), Variant::I2(1)};
    ExpectTypeMismatchWithoutTrace(app.Call(Method(dispid::kIniRead), ini));
  }
}

TEST_F(TAppTest, WertIsPassedOnUnconverted) {
  // Wert is neither converted nor followed (a reference takes the INI
  // functions' text path by its own type code), so even values TApp could
  // not read get as far as the INI operation.
  for (const Variant& wert : {Variant::ByRef(&kArrayTarget), Variant::ByRef(nullptr)}) {
    for (int32_t id : {dispid::kIniWrite, dispid::kIniRead}) {
      const std::vector<Variant> args{Variant::Text("d.ini"), Variant::Text("s"),
                                      Variant::Text("k"), wert};
      const CallResult r = app.Call(Method(id), args);
      ASSERT_TRUE(r.error.has_value());
      EXPECT_EQ(r.error->status, kStatusNotImplemented);
    }
  }
}

TEST_F(TAppTest, MissingSubsystemsFailAsNotImplemented) {
  for (const MethodInfo& m : MethodTable()) {
    if (m.dispid == dispid::kShowInfo || m.dispid == dispid::kVelkoraVersion ||
        m.dispid == dispid::kVelkoraIniname) {
      continue;
    }
    SCOPED_TRACE(std::string(m.name));
    const std::vector<Variant> args(m.params.size(), Variant::I2(90));
    const CallResult r = app.Call(m, args);
    ASSERT_TRUE(r.error.has_value());
    EXPECT_EQ(r.error->source, "ScriptFunctions.App");
    EXPECT_EQ(r.error->status, kStatusNotImplemented);
    EXPECT_FALSE(r.error->description.empty());
    EXPECT_EQ(r.value, Variant());
  }
}

TEST_F(TAppTest, InformationFunctionsReturnText) {
  EXPECT_EQ(app.Call(Method(dispid::kVelkoraVersion), {}).value, Variant::Text("010103"));
  EXPECT_EQ(app.Call(Method(dispid::kVelkoraIniname), {}).value, Variant::Text("/cfg/velkora.ini"));
  const CallResult info = app.Call(Method(dispid::kShowInfo), {});
  EXPECT_FALSE(info.error.has_value());
  EXPECT_EQ(info.value, Variant());
}

TEST_F(TAppTest, ExhaustedMemoryIsOutOfMemoryWithoutTexts) {
  // ShowInfo has no guard of its own; the box fails for want of memory.
  f.boxes.inside = [] { throw std::bad_alloc(); };
  const CallResult r = app.Call(Method(dispid::kShowInfo), {});
  ASSERT_TRUE(r.error.has_value());
  EXPECT_EQ(r.error->status, kStatusOutOfMemory);
  EXPECT_EQ(r.error->source, "");
  EXPECT_EQ(r.error->description, "");

  // A function with its own guard reports the failure itself and returns;
  // the report failing as well changes nothing for the script.
  const CallResult version = app.Call(Method(dispid::kVelkoraVersion), {});
  EXPECT_FALSE(version.error.has_value());
}

TEST(ToAutomationError, StatusFromTheErrorWhenNegative) {
  EXPECT_EQ(ToAutomationError(Error("platt", static_cast<int32_t>(0x80070005u))).status,
            static_cast<int32_t>(0x80070005u));
  EXPECT_EQ(ToAutomationError(Error("positiv", 5)).status, kStatusUnexpected);
  const AutomationError plain = ToAutomationError(std::runtime_error("kaputt"));
  EXPECT_EQ(plain.status, kStatusUnexpected);
  EXPECT_EQ(plain.description, "kaputt");
  EXPECT_EQ(plain.source, "ScriptFunctions.App");
  EXPECT_EQ(ToAutomationError(NotImplementedError("WndGetList")).status, kStatusNotImplemented);
}

}  // namespace
}  // namespace velkora
