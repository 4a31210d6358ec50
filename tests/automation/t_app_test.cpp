#include "automation/t_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
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
                      TextCase{"empty", Variant(), ""}, TextCase{"i2", Variant::I2(-5), "-5"},
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
  TPerlre perlre{true, kPerlreCaseless};
  THaupt haupt{f.shell, perlre, StartSettings{}, {"/bin/velkora"}};
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
  const std::vector<Variant> bad = {
      Variant::Null(),     Variant::Array(kVtI4), Variant::ByRef(&kArrayTarget),
      Variant::Dispatch(), Variant::Unknown(),    Variant::ErrorCode(-2147352572)};
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
  // Wert is neither converted nor followed: a reference takes the INI
  // functions' text path by its own type code, a number stays a number.
  auto args = [](Variant wert) {
    return std::vector<Variant>{Variant::Text("d.ini"), Variant::Text("s"), Variant::Text("k"),
                                wert};
  };
  const CallResult by_reference =
      app.Call(Method(dispid::kIniRead), args(Variant::ByRef(&kNumberTarget)));
  EXPECT_FALSE(by_reference.error.has_value());
  EXPECT_EQ(by_reference.value, Variant::Text("90"));
  EXPECT_EQ(app.Call(Method(dispid::kIniRead), args(Variant::I2(7))).value, Variant::I4(7));
  // Even values TApp could not read get as far as the INI operation, which
  // reports them itself and returns normally.
  for (const Variant& wert : {Variant::ByRef(&kArrayTarget), Variant::ByRef(nullptr)}) {
    for (int32_t id : {dispid::kIniWrite, dispid::kIniRead}) {
      f.boxes.shown.clear();
      const CallResult r = app.Call(Method(id), args(wert));
      EXPECT_FALSE(r.error.has_value());
      EXPECT_EQ(r.value, Variant());
      ASSERT_EQ(f.boxes.shown.size(), 1u);
      EXPECT_EQ(f.boxes.shown[0].text, "Exception: Ungültige Variant-Typumwandlung");
    }
  }
  EXPECT_TRUE(f.profile.writes.empty());
}

// Every method's call reaches its own operation with its arguments in their
// places: the operation's call line names the method and shows each
// argument, in order.
TEST_F(TAppTest, EveryMethodIsServed) {
  for (const MethodInfo& m : MethodTable()) {
    SCOPED_TRACE(std::string(m.name));
    std::vector<Variant> args;
    std::vector<std::string> shown;
    for (std::size_t i = 0; i < m.params.size(); ++i) {
      // Alle must be a Boolean; every other argument is a text of its own,
      // shown in brackets where the operation takes it as given.
      const std::string text = "a" + std::to_string(i);
      const bool boolean = m.params[i] == "Alle";
      args.push_back(boolean ? Variant::Bool(true) : Variant::Text(text));
      shown.push_back(boolean                             ? "True"
                      : static_cast<int>(i) == m.as_given ? "[" + text + "]"
                                                          : "\"" + text + "\"");
    }
    const std::size_t logged = f.Log().size();
    app.Call(m, args);
    const std::string call = f.Log().substr(logged);
    const std::size_t name_at = call.find(std::string(m.name) + "(");
    ASSERT_EQ(name_at, 20u) << "after the time stamp: " << call;
    std::size_t at = name_at + m.name.size();
    for (const std::string& arg : shown) {
      const std::size_t found = call.find(arg, at);
      ASSERT_NE(found, std::string::npos) << arg << " in " << call;
      at = found + arg.size();
    }
  }
}

// The window functions' results in their variant types; numbers arrive as
// text (WndClose's Alle 90 is True), and no window exists here.
TEST_F(TAppTest, WindowFunctionsReturnTheirTypes) {
  auto call = [&](int32_t id, std::vector<Variant> args) { return app.Call(Method(id), args); };
  const Variant n = Variant::I2(90);
  EXPECT_EQ(call(dispid::kWindowExists, {n}).value, Variant::Bool(false));
  EXPECT_EQ(haupt.StatusLine(), "WindowExists(\"90\")-->False");
  EXPECT_EQ(call(dispid::kCloseWindow, {n}).value, Variant());
  EXPECT_EQ(call(dispid::kWndGetList, {n, n}).value, Variant::Text(""));
  EXPECT_EQ(call(dispid::kWndClose, {n, n, n}).value, Variant::Text(""));
  EXPECT_EQ(haupt.StatusLine(), "WndClose(\"90\",\"90\",True)-->\"\"");
  const CallResult refused = call(dispid::kWndClose, {n, n, Variant::Text("nie")});
  ASSERT_TRUE(refused.error.has_value());
  EXPECT_EQ(refused.error->description, "Ungültige Variant-Typumwandlung");
  EXPECT_EQ(refused.error->status, kStatusUnexpected);
}

// The INI operations reach the functions with their arguments as text and
// Wert as given, and hand back what they return.
TEST_F(TAppTest, IniMethodsRunTheIniFunctions) {
  auto text = [](const char* t) { return Variant::Text(t); };
  EXPECT_FALSE(
      app.Call(Method(dispid::kIniWrite),
               std::vector<Variant>{text("d.ini"), text("S"), Variant::I2(5), Variant::R8(1.5)})
          .error.has_value());
  EXPECT_EQ(f.profile.Get("d.ini", "S", "5"), "1,5")
      << "the key as text, the Real in German formats";
  EXPECT_EQ(app.Call(Method(dispid::kIniRead),
                     std::vector<Variant>{text("d.ini"), text("s"), text("5"), Variant::R8(0)})
                .value,
            Variant::R8(1.5));
  EXPECT_EQ(app.Call(Method(dispid::kIniReadSections),
                     std::vector<Variant>{text("d.ini"), Variant::I2(0)})
                .value,
            Variant::Text("S"));
  EXPECT_EQ(app.Call(Method(dispid::kIniReadSection),
                     std::vector<Variant>{text("d.ini"), text("S"), text(";")})
                .value,
            Variant::Text("5"));
  EXPECT_EQ(app.Call(Method(dispid::kIniReadSectionValues),
                     std::vector<Variant>{text("d.ini"), text("S"), text(";")})
                .value,
            Variant::Text("5=1,5"));
  EXPECT_EQ(app.Call(Method(dispid::kIniDeleteKey),
                     std::vector<Variant>{text("d.ini"), text("S"), Variant::I4(5)})
                .value,
            Variant());
  EXPECT_EQ(f.profile.Get("d.ini", "S", "5"), std::nullopt);
  EXPECT_EQ(haupt.StatusLine(), "IniDeleteKey(\"d.ini\",\"S\",\"5\")");
}

TEST_F(TAppTest, InformationFunctionsReturnText) {
  EXPECT_EQ(app.Call(Method(dispid::kVelkoraVersion), {}).value, Variant::Text("010103"));
  EXPECT_EQ(app.Call(Method(dispid::kVelkoraIniname), {}).value, Variant::Text("/cfg/velkora.ini"));
  const CallResult info = app.Call(Method(dispid::kShowInfo), {});
  EXPECT_FALSE(info.error.has_value());
  EXPECT_EQ(info.value, Variant());
}

TEST_F(TAppTest, DialUpFunctionsAnswerWithoutDialUpNetworking) {
  EXPECT_EQ(app.Call(Method(dispid::kGetRasConnection), {}).value, Variant::Text(""));
  EXPECT_EQ(app.Call(Method(dispid::kRasClose), {}).value, Variant::Text(""));
  const std::vector<Variant> key{Variant::Text("ConnectSpeed")};
  const CallResult counter = app.Call(Method(dispid::kGetPerfStats), key);
  EXPECT_FALSE(counter.error.has_value());
  EXPECT_EQ(counter.value, Variant::I4(0));
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

// Numbers reach the tariff engine as text in the user's format, so a
// fraction fails its integer conversion.
TEST_F(TAppTest, LeastCostRoutingTakesTheDurationAsText) {
  f.profile.Set(f.shell.settings_file, "LCR", "0", "Flat");
  for (const char* day : {"Ft", "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}) {
    f.profile.Set(f.shell.settings_file, "LCR Flat", day, "P");
  }
  f.profile.Set(f.shell.settings_file, "LCR Flat", "P", "00:00:00 0.5 60");
  const std::vector<Variant> info_args{Variant::I2(61), Variant::Text(";")};
  EXPECT_EQ(app.Call(Method(dispid::kGetRasLCRInfo), info_args).value, Variant::Text("Flat:1"));
  const std::vector<Variant> name_args{Variant::R8(1.5)};
  EXPECT_EQ(app.Call(Method(dispid::kGetRasLCRName), name_args).value, Variant::Text(""));
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].text, "Exception: '1,5' ist kein gültiger Integerwert");
}

TEST(ToAutomationError, StatusFromTheErrorWhenNegative) {
  EXPECT_EQ(ToAutomationError(Error("platt", static_cast<int32_t>(0x80070005u))).status,
            static_cast<int32_t>(0x80070005u));
  EXPECT_EQ(ToAutomationError(Error("positiv", 5)).status, kStatusUnexpected);
  const AutomationError plain = ToAutomationError(std::runtime_error("kaputt"));
  EXPECT_EQ(plain.status, kStatusUnexpected);
  EXPECT_EQ(plain.description, "kaputt");
  EXPECT_EQ(plain.source, "ScriptFunctions.App");
}

}  // namespace
}  // namespace velkora
