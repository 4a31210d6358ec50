#include "automation/dispatcher.h"

#include <gtest/gtest.h>

#include <set>

#include "automation/t_app.h"
#include "base/ascii.h"
#include "fakes/shell_fixture.h"
#include "server/haupt.h"

namespace velkora {
namespace {

struct Row {
  const char* name;
  int32_t dispid;
  std::vector<std::string_view> params;
  ResultKind result;
};

// The published interface, row by row in interface order.
const std::vector<Row> kExpected = {
    {"ShowInfo", 4, {}, ResultKind::kNone},
    {"WindowExists", 5, {"FensterName"}, ResultKind::kBoolean},
    {"CloseWindow", 1, {"FensterName"}, ResultKind::kNone},
    {"GetRasConnection", 2, {}, ResultKind::kText},
    {"IniWrite", 3, {"Datei", "Sektion", "Eintrag", "Wert"}, ResultKind::kNone},
    {"IniRead", 6, {"Datei", "Sektion", "Eintrag", "Wert"}, ResultKind::kVariant},
    {"IniDeleteKey", 7, {"Datei", "Sektion", "Eintrag"}, ResultKind::kNone},
    {"GetRasLCRName", 8, {"Dauer"}, ResultKind::kText},
    {"GetRasLCRInfo", 9, {"Dauer", "Trenner"}, ResultKind::kText},
    {"WndGetList", 10, {"Muster", "Trenner"}, ResultKind::kText},
    {"WndClose", 11, {"Muster", "Trenner", "Alle"}, ResultKind::kText},
    {"RasClose", 12, {}, ResultKind::kText},
    {"VelkoraVersion", 13, {}, ResultKind::kText},
    {"IniReadSectionValues", 14, {"IniDatei", "Sektion", "Trenner"}, ResultKind::kText},
    {"IniReadSection", 16, {"Datei", "Sektion", "Trenner"}, ResultKind::kText},
    {"IniReadSections", 17, {"Datei", "Trenner"}, ResultKind::kText},
    {"VelkoraIniname", 15, {}, ResultKind::kText},
    {"GetPerfStats", 18, {"Key"}, ResultKind::kInteger},
};

TEST(MethodTable, MatchesThePublishedInterface) {
  const auto table = MethodTable();
  ASSERT_EQ(table.size(), kExpected.size());
  std::set<int32_t> ids;
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(kExpected[i].name);
    EXPECT_EQ(table[i].name, kExpected[i].name);
    EXPECT_EQ(table[i].dispid, kExpected[i].dispid);
    EXPECT_EQ(std::vector<std::string_view>(table[i].params.begin(), table[i].params.end()),
              kExpected[i].params);
    EXPECT_EQ(table[i].result, kExpected[i].result);
    // Only Wert of the INI value functions reaches its operation unconverted.
    const bool ini_value =
        table[i].dispid == dispid::kIniWrite || table[i].dispid == dispid::kIniRead;
    EXPECT_EQ(table[i].as_given, ini_value ? 3 : kNoParamAsGiven);
    ids.insert(table[i].dispid);
  }
  EXPECT_EQ(ids.size(), 18u);
}

TEST(Dispatcher, NamesResolveInAnyCase) {
  for (const Row& row : kExpected) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Dispatcher::IdOfName(row.name), row.dispid);
    EXPECT_EQ(Dispatcher::IdOfName(AsciiLowered(row.name)), row.dispid);
    EXPECT_EQ(Dispatcher::IdOfName(AsciiUppered(row.name)), row.dispid);
  }
  EXPECT_EQ(Dispatcher::IdOfName("WndGetLis"), std::nullopt);
  EXPECT_EQ(Dispatcher::IdOfName(""), std::nullopt);
  EXPECT_EQ(Dispatcher::IdOfName("WndGetList "), std::nullopt);
}

TEST(Dispatcher, ParameterNamesResolveInAnyCase) {
  EXPECT_EQ(Dispatcher::ParamIndex(dispid::kIniRead, "wert"), 3);
  EXPECT_EQ(Dispatcher::ParamIndex(dispid::kIniReadSectionValues, "INIDATEI"), 0);
  EXPECT_EQ(Dispatcher::ParamIndex(dispid::kIniReadSectionValues, "Datei"), std::nullopt);
  EXPECT_EQ(Dispatcher::ParamIndex(dispid::kShowInfo, "x"), std::nullopt);
  EXPECT_EQ(Dispatcher::ParamIndex(99, "Datei"), std::nullopt);
}

// Calls resolved by the dispatcher and run by a real TApp and THaupt, as a
// host does it; refusals must leave no trace.
class DispatchFixture : public ::testing::Test {
 protected:
  fakes::ShellFixture f;
  TPerlre perlre{true, kPerlreCaseless};
  THaupt haupt{f.shell, perlre, StartSettings{}, {"/bin/velkora"}};
  TApp app{haupt, f.locale};

  CallResult Run(const ResolvedCall& resolved) {
    if (!resolved.method) return CallResult{Variant(), resolved.refusal};
    return app.Call(*resolved.method, resolved.args);
  }

  void ExpectRefused(const ResolvedCall& resolved, int32_t status) {
    EXPECT_EQ(resolved.method, nullptr);
    const CallResult r = Run(resolved);
    ASSERT_TRUE(r.error.has_value());
    EXPECT_EQ(r.error->status, status);
    EXPECT_EQ(r.error->source, "");
    EXPECT_EQ(r.value, Variant());
    EXPECT_EQ(haupt.StatusLine(), "");
    EXPECT_EQ(f.files.append_calls, 0);
    EXPECT_TRUE(f.boxes.shown.empty());
  }
};

TEST_F(DispatchFixture, UnknownNameIsRefused) {
  ExpectRefused(Dispatcher::Resolve("Gibtsnicht", {}), kDispUnknownName);
}

TEST_F(DispatchFixture, UnknownDispidIsRefused) {
  for (int32_t id : {0, 19, -1, 1000}) {
    SCOPED_TRACE(id);
    ExpectRefused(Dispatcher::Resolve(id, {}), kDispMemberNotFound);
  }
}

TEST_F(DispatchFixture, WrongArgumentCountIsRefused) {
  const std::vector<Variant> three(3, Variant::Text("x"));
  ExpectRefused(Dispatcher::Resolve(dispid::kIniRead, three), kDispBadParamCount);
  ExpectRefused(Dispatcher::Resolve(dispid::kShowInfo, std::span(three).first(1)),
                kDispBadParamCount);
  ExpectRefused(Dispatcher::Resolve("velkoraversion", three), kDispBadParamCount);
}

TEST_F(DispatchFixture, NamedArgumentsAreRefusedWhenTheyDoNotFit) {
  const std::vector<Variant> one{Variant::Text("^Edi")};
  const std::vector<NamedArgument> unknown{{"Muster2", Variant::Text(";")}};
  ExpectRefused(Dispatcher::Resolve(dispid::kWndGetList, one, unknown), kDispUnknownName);
  const std::vector<NamedArgument> twice{{"muster", Variant::Text(";")}};
  ExpectRefused(Dispatcher::Resolve(dispid::kWndGetList, one, twice), kDispParamNotFound);
  ExpectRefused(Dispatcher::Resolve(dispid::kWndGetList, {}, twice), kDispBadParamCount);
}

TEST_F(DispatchFixture, NamedArgumentsFillTheirPositions) {
  // The call passes the refusals and reaches the method with its arguments
  // in their places, as its call line shows.
  const std::vector<NamedArgument> named{{"TRENNER", Variant::Text(";")},
                                         {"Muster", Variant::Text("^E")}};
  const ResolvedCall resolved = Dispatcher::Resolve(dispid::kWndGetList, {}, named);
  const std::vector<Variant> in_order{Variant::Text("^E"), Variant::Text(";")};
  EXPECT_EQ(resolved.args, in_order);
  const CallResult r = Run(resolved);
  EXPECT_FALSE(r.error.has_value());
  EXPECT_EQ(r.value, Variant::Text(""));
  EXPECT_EQ(haupt.StatusLine(), "WndGetList(\"^E\",\";\")-->\"\"");
}

TEST_F(DispatchFixture, MethodsWithoutResultGiveEmpty) {
  const CallResult r = Run(Dispatcher::Resolve("SHOWINFO", {}));
  EXPECT_FALSE(r.error.has_value());
  EXPECT_EQ(r.value, Variant());
  EXPECT_EQ(f.boxes.shown.size(), 1u);
}

TEST_F(DispatchFixture, VersionArrivesAsText) {
  const CallResult r = Run(Dispatcher::Resolve("velkoraversion", {}));
  EXPECT_FALSE(r.error.has_value());
  EXPECT_EQ(r.value, Variant::Text("010103"));
}

}  // namespace
}  // namespace velkora
