// Every method of the method table, called the way the hosts call it (the
// dispatcher resolves the name, TApp converts and runs), with every kind of
// value a script or a client can put in each argument: each call ends with
// the method's own result or with a clear automation error, never with
// anything else.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "automation/dispatcher.h"
#include "automation/t_app.h"
#include "base/error.h"
#include "fakes/shell_fixture.h"
#include "server/haupt.h"

namespace velkora {
namespace {

// Whether a value has a text form the methods can take.
enum class TextForm { kYes, kNo };

struct ValueCase {
  std::string label;
  Variant value;
  TextForm text_form;
};

const Variant kText = Variant::Text("Wert");
const Variant kNumber = Variant::I4(-7);
const Variant kEmpty;
const Variant kNull = Variant::Null();
const Variant kArray = Variant::Array(kVtVariant);
const Variant kObject = Variant::Dispatch();
const Variant kReferenceToText = Variant::ByRef(&kText);
const Variant kTwoReferences = Variant::ByRef(&kReferenceToText);

std::vector<ValueCase> Values() {
  using V = Variant;
  std::vector<ValueCase> values = {
      {"Empty", V(), TextForm::kYes},
      {"Null", V::Null(), TextForm::kNo},
      {"I2", V::I2(std::numeric_limits<int16_t>::min()), TextForm::kYes},
      {"I4", V::I4(std::numeric_limits<int32_t>::max()), TextForm::kYes},
      {"R4", V::R4(-1.5e-30f), TextForm::kYes},
      {"R8", V::R8(1e300), TextForm::kYes},
      {"R8 infinite", V::R8(std::numeric_limits<double>::infinity()), TextForm::kYes},
      {"R8 not a number", V::R8(std::numeric_limits<double>::quiet_NaN()), TextForm::kYes},
      {"Currency", V::Currency(std::numeric_limits<int64_t>::min()), TextForm::kYes},
      {"Date", V::Date(EncodeDate(2026, 12, 7) + EncodeTime(9, 15, 2)), TextForm::kYes},
      {"Date past year 9999", V::Date(3e6), TextForm::kNo},
      {"Date before year 1", V::Date(-7e5), TextForm::kNo},
      {"BSTR empty", V::Text(""), TextForm::kYes},
      {"BSTR line breaks and quotes", V::Text("a\"b\"\r\nc\rd\n"), TextForm::kYes},
      {"BSTR embedded NUL", V::Text(std::string("vor\0nach", 8)), TextForm::kYes},
      {"BSTR beyond the ANSI code page",
       V::Text("Gr\xC3\xBC\xC3\x9F"
               "e \xE6\xBC\xA2 \xF0\x9F\x98\x80"),
       TextForm::kYes},
      {"BSTR broken UTF-8", V::Text("\xFF\xFE\xC3"), TextForm::kYes},
      // Every call copies and logs its arguments a few times; 1 MB keeps the
      // table quick, the 10 MB value is written once below.
      {"BSTR 1 MB", V::Text(std::string(1u << 20, 'x')), TextForm::kYes},
      {"Dispatch without default value", V::Dispatch(), TextForm::kNo},
      {"Error", V::ErrorCode(static_cast<int32_t>(0x80020004u)), TextForm::kNo},
      {"Boolean", V::Bool(true), TextForm::kYes},
      {"Unknown", V::Unknown(), TextForm::kNo},
      {"Decimal", V::Dec(Decimal{28, true, 0xFFFFFFFFu, 0xFFFFFFFFFFFFFFFFull}), TextForm::kYes},
      {"I1", V::I1(-128), TextForm::kYes},
      {"UI1", V::Ui1(255), TextForm::kYes},
      {"UI2", V::Ui2(65535), TextForm::kYes},
      {"UI4", V::Ui4(4294967295u), TextForm::kYes},
      {"I8", V::I8(std::numeric_limits<int64_t>::min()), TextForm::kYes},
      {"UI8", V::Ui8(std::numeric_limits<uint64_t>::max()), TextForm::kYes},
      {"INT", V::Int(-1), TextForm::kYes},
      {"UINT", V::Uint(1), TextForm::kYes},
      {"Array of variants", V::Array(kVtVariant), TextForm::kNo},
      {"Array of strings", V::Array(kVtBstr), TextForm::kNo},
      {"Array of bytes", V::Array(kVtUi1), TextForm::kNo},
      {"ByRef text", V::ByRef(&kText), TextForm::kYes},
      {"ByRef number", V::ByRef(&kNumber), TextForm::kYes},
      {"ByRef Empty", V::ByRef(&kEmpty), TextForm::kYes},
      {"ByRef Null", V::ByRef(&kNull), TextForm::kNo},
      {"ByRef array", V::ByRef(&kArray), TextForm::kNo},
      {"ByRef object", V::ByRef(&kObject), TextForm::kNo},
      {"ByRef to nothing", V::ByRef(nullptr), TextForm::kNo},
      {"ByRef ByRef text", V::ByRef(&kReferenceToText), TextForm::kYes},
  };
  return values;
}

// An ordinary value for each parameter, so that only one argument at a time
// is out of the ordinary.
Variant Ordinary(std::string_view param) {
  if (param == "Datei" || param == "IniDatei") return Variant::Text("/daten/werte.ini");
  if (param == "Sektion") return Variant::Text("S");
  if (param == "Eintrag") return Variant::Text("K");
  if (param == "Wert") return Variant::I2(1);
  if (param == "Dauer") return Variant::I2(90);
  if (param == "Trenner") return Variant::Text(";");
  if (param == "Muster") return Variant::Text("^Edi");
  if (param == "Alle") return Variant::Bool(true);
  return Variant::Text("Editor");  // FensterName, Key
}

bool HasResultType(const Variant& value, ResultKind kind) {
  switch (kind) {
    case ResultKind::kNone: return value.Type() == kVtEmpty;
    case ResultKind::kBoolean: return value.Type() == kVtBool;
    case ResultKind::kText: return value.Type() == kVtBstr;
    case ResultKind::kInteger: return value.Type() == kVtI4;
    case ResultKind::kVariant:
      for (uint16_t type : {kVtEmpty, kVtI4, kVtR8, kVtBstr, kVtBool}) {
        if (value.Type() == type) return true;
      }
      return false;
  }
  return false;
}

// One server for one call: nothing one call leaves behind (a 10 MB log line,
// a box) meets the next.
struct Server {
  fakes::ShellFixture f;
  TPerlre perlre{true, kPerlreCaseless};
  THaupt haupt{f.shell, perlre, StartSettings{}, {"/bin/velkora"}};
  TApp app{haupt, f.locale};
};

CallResult CallByName(Server& server, const MethodInfo& method, const std::vector<Variant>& args) {
  const ResolvedCall resolved = Dispatcher::Resolve(method.name, args);
  EXPECT_NE(resolved.method, nullptr) << "the argument count is right, so the call must resolve";
  if (resolved.method == nullptr) return CallResult{Variant(), resolved.refusal};
  return server.app.Call(*resolved.method, resolved.args);
}

TEST(BadArguments, EveryMethodEveryArgumentEveryKindOfValue) {
  const std::vector<ValueCase> values = Values();
  for (const MethodInfo& method : MethodTable()) {
    if (method.params.empty()) {
      Server server;
      const CallResult r = CallByName(server, method, {});
      SCOPED_TRACE(std::string(method.name));
      EXPECT_FALSE(r.error) << r.error->description;
      EXPECT_TRUE(HasResultType(r.value, method.result)) << TypeName(r.value);
      continue;
    }
    for (std::size_t position = 0; position < method.params.size(); ++position) {
      for (const ValueCase& value : values) {
        SCOPED_TRACE(std::string(method.name) + " " + std::string(method.params[position]) + " = " +
                     value.label);
        std::vector<Variant> args;
        for (std::string_view param : method.params) args.push_back(Ordinary(param));
        args[position] = value.value;

        Server server;
        const CallResult r = CallByName(server, method, args);
        const bool as_given = static_cast<int>(position) == method.as_given;
        if (value.text_form == TextForm::kNo && !as_given) {
          // Refused before the method runs: nothing logged, nothing shown.
          ASSERT_TRUE(r.error.has_value());
          EXPECT_EQ(r.error->source, "ScriptFunctions.App");
          EXPECT_EQ(r.error->description, "Ungültige Variant-Typumwandlung");
          EXPECT_EQ(r.error->status, kStatusUnexpected);
          EXPECT_EQ(r.value, Variant());
          EXPECT_EQ(server.haupt.StatusLine(), "");
          EXPECT_EQ(server.f.files.append_calls, 0);
          EXPECT_TRUE(server.f.boxes.shown.empty());
          continue;
        }
        if (r.error) {
          EXPECT_EQ(r.value, Variant());
          // Only a text that is no Boolean fails, in its conversion to one.
          EXPECT_EQ(method.params[position], "Alle");
          EXPECT_EQ(r.error->description, "Ungültige Variant-Typumwandlung");
          EXPECT_EQ(r.error->status, kStatusUnexpected);
          continue;
        }
        EXPECT_TRUE(HasResultType(r.value, method.result)) << TypeName(r.value);
      }
    }
  }
}

// What reaches the INI file of the odd texts: a value with a line break is
// refused (it would write lines of its own), every other byte is kept.
TEST(BadArguments, OddTextsInIniValues) {
  auto write = [](const Variant& wert) {
    auto server = std::make_unique<Server>();
    const std::vector<Variant> args{Variant::Text("/d.ini"), Variant::Text("S"), Variant::Text("K"),
                                    wert};
    EXPECT_FALSE(server->app.Call(*Dispatcher::Find(dispid::kIniWrite), args).error.has_value());
    return server;
  };
  const auto broken = write(Variant::Text("a\r\n[Fenster]\r\nTestmodus=1"));
  EXPECT_EQ(broken->f.profile.Get("/d.ini", "S", "K"), std::nullopt);
  ASSERT_EQ(broken->f.boxes.shown.size(), 1u);
  EXPECT_EQ(broken->f.boxes.shown[0].text,
            "Exception: Wert mit Zeilenumbruch kann nicht nach /d.ini geschrieben werden");

  const std::string beyond =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE6\xBC\xA2 \xF0\x9F\x98\x80";
  EXPECT_EQ(write(Variant::Text(beyond))->f.profile.Get("/d.ini", "S", "K"), beyond);
  const std::string big(10u << 20, 'x');
  EXPECT_EQ(write(Variant::Text(big))->f.profile.Get("/d.ini", "S", "K"), big);
}

}  // namespace
}  // namespace velkora
