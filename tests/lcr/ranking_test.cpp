// One evaluation from the script's side: the two script functions, the
// ranking and the engine's error box.

#include <gtest/gtest.h>

#include "lcr_fixture.h"

namespace velkora::testing_lcr {
namespace {

class RankingTest : public ::testing::Test, public LcrFixture {
 protected:
  void SetUp() override {
    // The worked example's tariff: 0.32 for 300 s from 07:58:30.
    Provider(4, "Beispiel", "00:00:00 0.02 60 08:00:00 0.06 60", "0.10");
  }
};

TEST_F(RankingTest, WorkedExampleThroughTheScriptFunctions) {
  std::string para5 = "alt";
  EXPECT_EQ(GetRasLCRName(services, "300", para5), "Beispiel");
  EXPECT_EQ(para5, "Beispiel:0,32");
  EXPECT_EQ(frame.StatusLine(), "GetRasLCRName(\"300\")-->\"Beispiel\"");
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "GetRasLCRName(\"300\")");
  EXPECT_EQ(lines[1], " Verbindungskosten auswerten ab 07.12.2026 07:58:30 für 300 Sekunden");
  EXPECT_EQ(lines.back(), " --> \"Beispiel\"");

  ClearLog();
  EXPECT_EQ(GetRasLCRInfo(services, "300", ";"), "Beispiel:0,32");
  EXPECT_EQ(para5, "Beispiel:0,32");
  EXPECT_EQ(frame.StatusLine(), "GetRasLCRInfo(\"300\",\";\")-->\"Beispiel:0,32\"");
  EXPECT_EQ(LogLines().back(), " --> \"Beispiel:0,32\"");
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(RankingTest, DurationIsLimitedNotRefused) {
  for (const char* dauer : {"0", "-5"}) {
    ClearLog();
    EXPECT_EQ(Evaluate(dauer), "Beispiel:0,12");  // fee and one increment
    EXPECT_EQ(LogLines()[0], " Dauer zu klein, auf 1 s gesetzt");
    EXPECT_EQ(LogLines()[1], " Verbindungskosten auswerten ab 07.12.2026 07:58:30 für 1 Sekunden");
  }
  ClearLog();
  const std::string day = Evaluate("86400");
  ClearLog();
  EXPECT_EQ(Evaluate("86401"), day);
  EXPECT_EQ(LogLines()[0], " Dauer zu groß, auf 86400 s (= 1 d) gesetzt");
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(RankingTest, ADurationThatIsNoIntegerShowsTheBoxAndGivesNothing) {
  for (const char* dauer : {"abc", "", "1,5", "99999999999"}) {
    f.boxes.shown.clear();
    ClearLog();
    std::string para5 = "alt";
    EXPECT_EQ(GetRasLCRName(services, dauer, para5), "");
    EXPECT_EQ(para5, "");
    const std::string text =
        std::string("Exception: '") + dauer + "' ist kein gültiger Integerwert";
    ASSERT_EQ(f.boxes.shown.size(), 1u) << dauer;
    EXPECT_EQ(f.boxes.shown[0].text, text);
    EXPECT_EQ(f.boxes.shown[0].caption, "Fehler in Velkora.GetRasLCR");
    EXPECT_EQ(f.boxes.shown[0].icon, BoxIcon::kError);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{std::string("GetRasLCRName(\"") + dauer + "\")",
                                                    " " + text, " --> \"\""}));
  }
}

TEST_F(RankingTest, CheapestFirstReadAndTheSortOrders) {
  // Equal totals for keys 4 and 1 (the same tariff), a dearer one at 0.
  Provider(1, "Gleich", "00:00:00 0.02 60 08:00:00 0.06 60", "0.10");
  Provider(0, "Teuer", "00:00:00 1 60");
  std::string name;
  EXPECT_EQ(Evaluate("300", &name), "Teuer:5;Gleich:0,32;Beispiel:0,32");
  EXPECT_EQ(name, "Gleich");  // the first read of the two cheapest
  Setting("LCR", "SortiereListe", "5");
  EXPECT_EQ(Evaluate("300", &name), "Gleich:0,32;Beispiel:0,32;Teuer:5");
  Setting("LCR", "SortiereListe", "-3");
  EXPECT_EQ(Evaluate("300", &name), "Teuer:5;Beispiel:0,32;Gleich:0,32");
  EXPECT_EQ(name, "Gleich");

  std::string list;
  VerbindungskostenAuswerten(services, "300", name, list, "");
  EXPECT_EQ(list, "Teuer:5Beispiel:0,32Gleich:0,32");
}

TEST_F(RankingTest, AnUnknownModeShowsTwoBoxes) {
  f.files.files["/arbeit/tk32.ini"] = "";  // TK32Pfad absent: the current folder
  Setting("LCR", "TK32Mode", "-1");
  EXPECT_EQ(GetRasLCRInfo(services, "60", ";"), "");
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"TK32Modus -1 unbekannt",
                                               "Keine Provider zum Auswerten gefunden"}));
  const std::vector<std::string> lines = LogLines();
  EXPECT_EQ(lines[lines.size() - 3], " TK32Modus -1 unbekannt");
  EXPECT_EQ(lines[lines.size() - 2], " Keine Provider zum Auswerten gefunden");
  EXPECT_EQ(lines.back(), " --> \"\"");
}

// A script call that arrives while the first evaluation waits in its error
// box runs an evaluation of its own; the first one then ends with its own
// (empty) list and its own boxes.
TEST_F(RankingTest, AnEvaluationInsideTheErrorBoxOfAnotherKeepsToItself) {
  f.files.files["/arbeit/tk32.ini"] = "";  // TK32Pfad absent: the current folder
  Setting("LCR", "TK32Mode", "7");
  std::string inner;
  std::string inner_para5;
  int depth = 0;
  f.boxes.inside = [&] {
    if (depth++ > 0) return;  // only the first box runs a call
    Setting("LCR", "TK32Mode", "0");
    Provider(8, "Zweiter", "00:00:00 1 60");
    inner = GetRasLCRName(services, "120", inner_para5);
  };
  std::string para5;
  EXPECT_EQ(GetRasLCRName(services, "300", para5), "");
  EXPECT_EQ(inner, "Beispiel");
  EXPECT_EQ(inner_para5, "Beispiel:0,14 | Zweiter:2");
  EXPECT_EQ(para5, "");
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"TK32Modus 7 unbekannt",
                                               "Keine Provider zum Auswerten gefunden"}));
  // One status line for all: the outer result is appended to the inner call's.
  EXPECT_EQ(frame.StatusLine(), "GetRasLCRName(\"120\")-->\"Beispiel\"-->\"\"");
}

// The same inside a box raised while the first evaluation holds providers
// with their profiles (a fault in the second provider's profile).
TEST_F(RankingTest, AFaultBoxWhileProvidersAreLoadedRunsANestedEvaluation) {
  Provider(9, "Kaputt", "00:00:00 1 60");
  Setting("LCR Kaputt", "Mo", "Fehlt");
  std::string inner;
  f.boxes.inside = [&] {
    f.boxes.inside = nullptr;
    Setting("LCR Kaputt", "Mo", "Standard");
    inner = GetRasLCRInfo(services, "60", "/");
  };
  EXPECT_EQ(GetRasLCRInfo(services, "60", ";"), "");
  EXPECT_EQ(inner, "Beispiel:0,12/Kaputt:1");
  EXPECT_EQ(Boxes(),
            (std::vector<std::string>{
                "Exception: Provider 'Kaputt': Profil 'Fehlt' nicht vorhanden/fehlerhaft"}));
}

TEST_F(RankingTest, NothingIsKeptBetweenCalls) {
  EXPECT_EQ(Evaluate("300"), "Beispiel:0,32");
  Setting("LCR Beispiel", "Ew", "1");
  EXPECT_EQ(Evaluate("300"), "Beispiel:1,22");
}

}  // namespace
}  // namespace velkora::testing_lcr
