// Modes 1 and 2: tk32.ini, its connections and holidays, and the tariff
// files it names.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"
#include "lcr_fixture.h"

namespace velkora::testing_lcr {
namespace {

const std::string kIni = "/tk32/tk32.ini";

class Tk32Test : public ::testing::Test, public LcrFixture {
 protected:
  LcrEvaluation ev{services, FormatSettings::German(), 2026};

  void SetUp() override {
    Setting("LCR", "TK32Mode", "2");
    Setting("LCR", "TK32Pfad", "/tk32");
    f.files.files[kIni] = "";
  }

  void Connection(int k, const std::string& type, const std::string& details,
                  const std::string& tel, const std::string& prov) {
    const std::string n = std::to_string(k);
    Ini(kIni, "Connections", "Type" + n, type);
    Ini(kIni, "Connections", "Details" + n, details);
    if (!tel.empty()) Ini(kIni, "Connections", "TelCosts" + n, tel);
    if (!prov.empty()) Ini(kIni, "Connections", "ProvCosts" + n, prov);
  }

  // A tariff file: `Werktag` Monday to Friday, `Frei` on holidays and at
  // weekends.
  void TariffFile(const std::string& name, const std::string& werktag1, const std::string& werktag2,
                  const std::string& frei) {
    const std::string file = "/tk32/" + name + ".trf";
    for (const char* day : {"mo", "di", "mi", "do", "fr"})
      Ini(file, "Tarifzuordnung", day, "Werktag");
    for (const char* day : {"f1", "so", "sa"}) Ini(file, "Tarifzuordnung", day, "Frei");
    Ini(file, "Tarif Werktag", "Bereiche", "2");
    Ini(file, "Tarif Werktag", "Bereich1", werktag1);
    Ini(file, "Tarif Werktag", "Bereich2", werktag2);
    Ini(file, "Tarif Frei", "Bereiche", "1");
    Ini(file, "Tarif Frei", "Bereich1", frei);
  }

  int LogCount(const std::string& line) {
    const std::vector<std::string> lines = LogLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }
};

TEST_F(Tk32Test, Mode2ReadsTheUsableConnections) {
  Ini(kIni, "Connections", "Count", "6");
  Connection(0, "4", "RasName=Erste/x/y", "000000", "000000");
  Connection(1, "3", "RasName=Typ3", "000000", "000000");
  Connection(2, "4", "Name=Falsch", "000000", "000000");
  Connection(3, "4", "rasname=Klein", "000000", "000000");
  Connection(4, "4", "RasName=NurTel", "000000", "");
  Connection(5, "4", "RasName=/leer", "000000", "000000");
  Connection(7, "4", "RasName=HinterCount", "000000", "000000");
  Ini(kIni, "SpecialDays", "Count", "3");
  Ini(kIni, "SpecialDays", "Day0", "01.01.2004");
  Ini(kIni, "SpecialDays", "Day2", "06.01.2004");
  ASSERT_TRUE(ev.KonfigurationEinlesen());

  std::vector<std::pair<std::string, int>> read;
  for (const tEinProvider& p : ev.ProviderListe) read.emplace_back(p.Name, p.Nummer);
  EXPECT_EQ(read, (std::vector<std::pair<std::string, int>>{{"Erste", 0}, {"Klein", 3}, {"", 5}}));
  EXPECT_EQ(ev.Feiertagsliste, " 37987 37992 ");
  EXPECT_EQ(ev.TK32Verzeichnis, "/tk32/");
  // The dummy tariff: one free range a day, no file read.
  for (const tEinProvider& p : ev.ProviderListe) {
    for (int d = 0; d < kTagesarten; ++d) {
      ASSERT_EQ(p.TelProfile[d].size(), 2u);
      EXPECT_EQ(p.TelProfile[d][0].Taktdauer, 60);
      EXPECT_DOUBLE_EQ(p.TelProfile[d][0].Preis, 0.0);
      EXPECT_DOUBLE_EQ(p.ProvProfile[d][0].Beginn, 0.0);
    }
  }
  EXPECT_EQ(LogCount("  Tarifdatei 000000 als Dummy-Eintrag anlegen"), 1);
  EXPECT_EQ(LogLines().front(), " Providernamen aus /tk32/tk32.ini einlesen");
}

TEST_F(Tk32Test, AHugeCountDoesNotReadEveryNumber) {
  Ini(kIni, "Connections", "Count", "2000000000");
  Connection(1999999999, "4", "RasName=Weit", "000000", "000000");
  Ini(kIni, "SpecialDays", "Count", "0x7fffffff");
  ASSERT_TRUE(ev.KonfigurationEinlesen());
  ASSERT_EQ(ev.ProviderListe.size(), 1u);
  EXPECT_EQ(ev.ProviderListe[0].Nummer, 1999999999);
  EXPECT_LT(f.profile.reads, 100);
}

TEST_F(Tk32Test, Mode1FindsTheConnectionOfEachSettingsName) {
  Setting("LCR", "TK32Mode", "1");
  Setting("LCR", "3", "arcor");
  Setting("LCR", "5", "Fehlt");
  Ini(kIni, "Connections", "Count", "3");
  Connection(0, "4", "RasName=ARCOR", "000000", "000000");
  Connection(2, "4", "RasName=Arcor/2", "zweite", "zweite");
  EXPECT_EQ(LoadError(ev), "Verbindung Fehlt in tk32.ini nicht gefunden");
  ASSERT_EQ(ev.ProviderListe.size(), 2u);
  // The lower connection number wins; the settings key stays the number.
  EXPECT_EQ(ev.ProviderListe[0].TelTarif, "000000");
  EXPECT_EQ(ev.ProviderListe[0].Nummer, 3);
  EXPECT_EQ(LogLines().front(), " Providernamen aus /cfg/velkora.ini einlesen");
}

TEST_F(Tk32Test, EachTariffFileIsReadOnceAndShared) {
  Ini(kIni, "Connections", "Count", "2");
  Connection(0, "4", "RasName=A", "telekom", "prov");
  Connection(1, "4", "RasName=B", "telekom", "telekom");
  Connection(2, "4", "RasName=C", "prov", "000000");
  TariffFile("telekom", "00:00:00;60;0.03", "08:00:00;60;0.08;0.10", "00:00:00;120;0.04");
  TariffFile("prov", "00:00:00;60,5;1", "12:00:00;61.5;2;0,5", "00:00:00;1;0");
  ASSERT_TRUE(ev.KonfigurationEinlesen());

  EXPECT_EQ(LogCount("  Tarifdatei telekom einlesen"), 1);
  EXPECT_EQ(LogCount("  Tarifdatei prov einlesen"), 1);
  EXPECT_EQ(LogCount("  Tarifdatei 000000 als Dummy-Eintrag anlegen"), 1);
  // The telephone tariff goes first when both are references.
  std::vector<std::string> order;
  for (const std::string& line : LogLines()) {
    if (line.rfind("  Tarifdatei", 0) == 0) order.push_back(line);
  }
  EXPECT_EQ(order.front(), "  Tarifdatei telekom einlesen");

  const tEinProvider& a = ev.ProviderListe[0];
  const tEinProvider& b = ev.ProviderListe[1];
  // Monday (day type 2): two ranges, the second with a fee.
  ASSERT_EQ(a.TelProfile[2].size(), 3u);
  EXPECT_DOUBLE_EQ(a.TelProfile[2][0].Preis, 0.03);
  EXPECT_DOUBLE_EQ(a.TelProfile[2][0].Einwahlkosten, 0.0);
  EXPECT_DOUBLE_EQ(a.TelProfile[2][1].Beginn, EncodeTime(8, 0, 0));
  EXPECT_DOUBLE_EQ(a.TelProfile[2][1].Einwahlkosten, 0.10);
  // Holiday: the free tariff.
  ASSERT_EQ(a.TelProfile[0].size(), 2u);
  EXPECT_EQ(a.TelProfile[0][0].Taktdauer, 120);
  // Increments round half to even: 60.5 -> 60, 61.5 -> 62.
  EXPECT_EQ(a.ProvProfile[2][0].Taktdauer, 60);
  EXPECT_EQ(a.ProvProfile[2][1].Taktdauer, 62);
  EXPECT_DOUBLE_EQ(a.ProvProfile[2][1].Einwahlkosten, 0.5);
  // One file for both of B's tariffs.
  ASSERT_EQ(b.ProvProfile[2].size(), 3u);
  EXPECT_DOUBLE_EQ(b.ProvProfile[2][1].Preis, 0.08);
  EXPECT_EQ(b.TelTarif, b.ProvTarif);
}

TEST_F(Tk32Test, TariffFaults) {
  struct Case {
    const char* tel;
    const char* prov;
    const char* message;
    const char* logged;  // a log line that must appear, or nullptr
  };
  const Case cases[] = {
      {"fehlt", "000000", "Provider 'A': Telefonkosten-Profil unvollständig", nullptr},
      {"000000", "fehlt", "Provider 'A': Providerkosten-Profil unvollständig", nullptr},
      {"|ohne Tage", "000000", "Fehler beim Auswerten der Tarifdatei, Provider A",
       "TK32-Tarifdatei: |ohne Tage"},
      {"|00:00:00;60;1|#|#|#|#|#|#|#", "000000", "Fehler beim Auswerten der Tarifdatei, Provider A",
       "TK32-Tarifdatei: "},
      {"|0x:00:00;60;1|#|#|#|#|#|#|#|#|", "000000", "'0x:00:00' ist keine gültige Uhrzeit",
       nullptr},
      {"|00:00:00;60;1;a|#|#|#|#|#|#|#|#|", "000000", "'a' ist kein gültiger Gleitkommawert",
       nullptr},
      {"|00:00:00;1e12;1|#|#|#|#|#|#|#|#|", "000000", "'1e12' ist kein gültiger Integerwert",
       nullptr},
  };
  for (const Case& c : cases) {
    LcrFixture fresh;
    fresh.Setting("LCR", "TK32Mode", "2");
    fresh.Setting("LCR", "TK32Pfad", "/tk32/");
    fresh.f.files.files[kIni] = "";
    fresh.Ini(kIni, "Connections", "Count", "0");
    fresh.Ini(kIni, "Connections", "Type0", "4");
    fresh.Ini(kIni, "Connections", "Details0", "RasName=A");
    fresh.Ini(kIni, "Connections", "TelCosts0", c.tel);
    fresh.Ini(kIni, "Connections", "ProvCosts0", c.prov);
    LcrEvaluation load(fresh.services, FormatSettings::German(), 2026);
    try {
      load.KonfigurationEinlesen();
      ADD_FAILURE() << c.tel << " loaded";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.tel;
    }
    if (c.logged) {
      const std::vector<std::string> lines = fresh.LogLines();
      EXPECT_NE(std::find(lines.begin(), lines.end(), c.logged), lines.end()) << c.tel;
    }
  }
}

TEST_F(Tk32Test, WhereTk32IniIsLookedFor) {
  // The stored path gets its separator, and nothing is written back.
  EXPECT_EQ(ev.TK32PfadSuchen(), "/tk32/");
  EXPECT_TRUE(f.profile.writes.empty());

  // An absent key means the current folder, and so does the empty value
  // (the bare file name), each made a full path for the reads as well.
  f.files.files["/arbeit/tk32.ini"] = "";
  f.profile.Set(f.shell.settings_file, "LCR", "TK32Pfad", "");
  EXPECT_EQ(ev.TK32PfadSuchen(), "/arbeit/");
  f.profile.WriteString("LCR", "TK32Pfad", std::nullopt, f.shell.settings_file);
  EXPECT_EQ(ev.TK32PfadSuchen(), "/arbeit/");
  f.files.files["/arbeit/tk32/tk32.ini"] = "";
  f.profile.Set(f.shell.settings_file, "LCR", "TK32Pfad", "./tk32");
  EXPECT_EQ(ev.TK32PfadSuchen(), "/arbeit/tk32/");
  f.profile.Set(f.shell.settings_file, "LCR", "TK32Pfad", "../arbeit/x/../tk32/");
  EXPECT_EQ(ev.TK32PfadSuchen(), "/arbeit/tk32/");
  f.files.files.erase("/arbeit/tk32/tk32.ini");
  f.files.files.erase("/arbeit/tk32.ini");
  f.profile.WriteString("LCR", "TK32Pfad", std::nullopt, f.shell.settings_file);

  // Not there: the disk search finds it and stores where.
  f.files.AddWalkFolder("/");
  f.files.AddWalkFolder("/opt/");
  f.files.AddWalkFolder("/opt/tk32/").entries.push_back({"TK32.INI", false});
  f.files.files["/opt/tk32/tk32.ini"] = "";
  ClearLog();
  EXPECT_EQ(ev.TK32PfadSuchen(), "/opt/tk32/");
  EXPECT_EQ(f.profile.Get(f.shell.settings_file, "LCR", "TK32Pfad"), "/opt/tk32/");
  EXPECT_EQ(
      LogLines(),
      (std::vector<std::string>{" tk32.ini nicht in TK32Pfad gefunden, Festplatte durchsuchen"}));

  // Nowhere: every mode but 0 fails, an unknown one included.
  f.files.files.erase("/opt/tk32/tk32.ini");
  Setting("LCR", "TK32Pfad", "/nirgends");
  Setting("LCR", "TK32Mode", "3");
  EXPECT_EQ(LoadError(ev), "Datei tk32.ini nicht gefunden");
  EXPECT_TRUE(f.boxes.shown.empty());
}

// A relative TK32Pfad: the existence check and every read of tk32.ini and
// the tariff files go to the one file in the current folder, never to a
// file the profile functions would find for the relative name.
TEST_F(Tk32Test, ARelativeFolderIsReadWhereItWasFound) {
  f.files.files.erase(kIni);
  Setting("LCR", "TK32Pfad", "tk32");
  const std::string ini = "/arbeit/tk32/tk32.ini";
  f.files.files[ini] = "";
  Ini(ini, "Connections", "Count", "0");
  Ini(ini, "Connections", "Type0", "4");
  Ini(ini, "Connections", "Details0", "RasName=Relativ");
  Ini(ini, "Connections", "TelCosts0", "000000");
  Ini(ini, "Connections", "ProvCosts0", "000000");
  // The same relative name where a profile function could look.
  Ini("tk32/tk32.ini", "Connections", "Count", "-1");
  EXPECT_EQ(Evaluate("60"), "Relativ:0");
  EXPECT_TRUE(f.boxes.shown.empty());
  const std::vector<std::string> lines = LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), " Providernamen aus " + ini + " einlesen"),
            lines.end());
}

// The what-if run keeps what a disk search found to itself.
TEST_F(Tk32Test, AFolderFoundCanServeOneEvaluationOnly) {
  f.files.files.erase(kIni);
  Setting("LCR", "TK32Pfad", "C:\\Programme\\TK32\\");
  f.files.AddWalkFolder("/");
  f.files.AddWalkFolder("/opt/");
  f.files.AddWalkFolder("/opt/tk32/").entries.push_back({"tk32.ini", false});
  f.files.files["/opt/tk32/tk32.ini"] = "";
  services.store_found_tk32_folder = false;
  ClearLog();
  EXPECT_EQ(ev.TK32PfadSuchen(), "/opt/tk32/");
  EXPECT_TRUE(f.profile.writes.empty());
  EXPECT_EQ(f.profile.Get(f.shell.settings_file, "LCR", "TK32Pfad"), "C:\\Programme\\TK32\\");
  EXPECT_EQ(LogLines(), (std::vector<std::string>{
                            " tk32.ini nicht in TK32Pfad gefunden, Festplatte durchsuchen",
                            " tk32.ini gefunden in /opt/tk32/, TK32Pfad bleibt unverändert"}));
}

TEST_F(Tk32Test, AFailedWriteBackIsReported) {
  f.files.files.erase(kIni);
  f.files.AddWalkFolder("/").entries.push_back({"tk32.ini", false});
  f.files.files["/tk32.ini"] = "";
  f.profile.fail_writes = true;
  EXPECT_EQ(LoadError(ev), "nach /cfg/velkora.ini kann nicht geschrieben werden");
}

}  // namespace
}  // namespace velkora::testing_lcr
