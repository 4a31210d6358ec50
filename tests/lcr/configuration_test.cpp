// Loading mode 0 (tariffs kept in the settings file) and the engine's
// settings.

#include <gtest/gtest.h>

#include "base/error.h"
#include "lcr_fixture.h"

namespace velkora::testing_lcr {
namespace {

class Mode0Test : public ::testing::Test, public LcrFixture {
 protected:
  LcrEvaluation ev{services, FormatSettings::German(), 2026};
};

TEST_F(Mode0Test, ProvidersProfilesAndHolidays) {
  Setting("LCR", "FtListe", " 01.01.2004 06.01.2004 ");
  Provider(7, "Beta", "00:00:00 0.03 60 08:00:00 0,08 30", "0.1");
  Provider(2, "Alpha", "00:00:00 1 60");
  Setting("LCR", "9", "Beta");  // equal names stay separate, with one section
  // Keys run from 0 to 99.
  Setting("LCR", "99", "Alpha");
  Setting("LCR", "100", "Alpha");
  ASSERT_TRUE(ev.KonfigurationEinlesen());

  EXPECT_EQ(ev.Feiertagsliste, " 37987 37992 ");
  EXPECT_EQ(ev.TK32Verzeichnis, "");
  ASSERT_EQ(ev.ProviderListe.size(), 4u);
  // In key order, with the key as Nummer.
  EXPECT_EQ(ev.ProviderListe[0].Name, "Alpha");
  EXPECT_EQ(ev.ProviderListe[0].Nummer, 2);
  EXPECT_EQ(ev.ProviderListe[1].Nummer, 7);
  EXPECT_EQ(ev.ProviderListe[2].Nummer, 9);
  EXPECT_EQ(ev.ProviderListe[3].Nummer, 99);

  const tEinProvider& beta = ev.ProviderListe[1];
  for (int d = 0; d < kTagesarten; ++d) {
    ASSERT_EQ(beta.ProvProfile[d].size(), 3u);
    EXPECT_DOUBLE_EQ(beta.ProvProfile[d][1].Beginn, EncodeTime(8, 0, 0));
    EXPECT_DOUBLE_EQ(beta.ProvProfile[d][1].Preis, 0.08);
    EXPECT_EQ(beta.ProvProfile[d][1].Taktdauer, 30);
    EXPECT_DOUBLE_EQ(beta.ProvProfile[d][0].Einwahlkosten, 0.1);
    EXPECT_DOUBLE_EQ(beta.ProvProfile[d][1].Einwahlkosten, 0.1);
    EXPECT_DOUBLE_EQ(beta.ProvProfile[d][2].Beginn, 1.0);  // end of the day
    EXPECT_DOUBLE_EQ(beta.ProvProfile[d][2].Einwahlkosten, 0.0);
    // No telephone charges in this mode: one free profile and the end.
    ASSERT_EQ(beta.TelProfile[d].size(), 2u);
    EXPECT_DOUBLE_EQ(beta.TelProfile[d][0].Preis, 0.0);
    EXPECT_EQ(beta.TelProfile[d][0].Taktdauer, 60);
  }
  EXPECT_EQ(LogLines(), (std::vector<std::string>{
                            " Providernamen aus /cfg/velkora.ini einlesen",
                            " Zeitprofile/Feiertage aus /cfg/velkora.ini einlesen",
                        }));
}

TEST_F(Mode0Test, ProfileLinesAreSplitByThePattern) {
  // Two fields: the price's last character becomes the increment.
  Provider(0, "A", "08:00:00 0.15");
  ASSERT_TRUE(ev.KonfigurationEinlesen());
  const tEinProfil& p = ev.ProviderListe[0].ProvProfile[3][0];
  EXPECT_DOUBLE_EQ(p.Preis, 0.1);
  EXPECT_EQ(p.Taktdauer, 5);
  EXPECT_DOUBLE_EQ(p.Beginn, EncodeTime(8, 0, 0));
}

TEST_F(Mode0Test, EachFaultHasItsMessage) {
  struct Case {
    const char* key;
    const char* value;
    const char* message;
  };
  const Case cases[] = {
      {"Ew", "-0.5", "Provider 'A': Einwahlkosten negativ"},
      {"Ew", "x", "'x' ist kein gültiger Gleitkommawert"},
      {"Ft", "", "Provider 'A': Zeitprofil Feiertag fehlt"},
      {"Mi", "", "Provider 'A': Zeitprofil Mi fehlt"},
      {"Sa", "Fehlt", "Provider 'A': Profil 'Fehlt' nicht vorhanden/fehlerhaft"},
      {"Standard", "ab", "Provider 'A': Profil 'Standard' nicht vorhanden/fehlerhaft"},
      {"Standard", "00:00:00 1 60 x", "Provider 'A': Profil 'Standard' nicht vorhanden/fehlerhaft"},
      {"Standard", "25:00:00 1 60", "'25:00:00' ist keine gültige Uhrzeit"},
      {"Standard", "00:00:00 1 6x", "'6x' ist kein gültiger Integerwert"},
  };
  for (const Case& c : cases) {
    LcrFixture fresh;
    fresh.Provider(0, "A", "00:00:00 1 60");
    fresh.Setting("LCR A", c.key, c.value);
    LcrEvaluation load(fresh.services, FormatSettings::German(), 2026);
    try {
      load.KonfigurationEinlesen();
      ADD_FAILURE() << c.key << "=" << c.value << " loaded";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.key << "=" << c.value;
    }
  }
}

TEST_F(Mode0Test, HolidayListFaults) {
  Provider(0, "A", "00:00:00 1 60");
  Setting("LCR", "FtListe", "01.01.2004  06.01.2004");
  EXPECT_EQ(LoadError(ev), "'' ist kein gültiges Datum");
}

TEST_F(Mode0Test, NoProvidersLoadsNothing) {
  Setting("LCR", "FtListe", "24.12.2026");
  EXPECT_FALSE(ev.KonfigurationEinlesen());
  EXPECT_EQ(ev.Feiertagsliste, " 46380 ");
}

TEST_F(Mode0Test, AFractionalFeeAndADecimalCommaWork) {
  Provider(0, "A", "00:00:00 0,5 60", "0,25");
  ASSERT_TRUE(ev.KonfigurationEinlesen());
  EXPECT_DOUBLE_EQ(ev.ProviderListe[0].ProvProfile[0][0].Preis, 0.5);
  EXPECT_DOUBLE_EQ(ev.ProviderListe[0].ProvProfile[0][0].Einwahlkosten, 0.25);
}

TEST(ZahlAusText, PointEverywhereCommaOnlyWhereItIsTheSeparator) {
  LcrFixture f;
  LcrEvaluation german(f.services, FormatSettings::German(), 2026);
  LcrEvaluation english(f.services, FormatSettings(), 2026);
  EXPECT_DOUBLE_EQ(german.ZahlAusText(""), 0.0);
  EXPECT_DOUBLE_EQ(german.ZahlAusText("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(german.ZahlAusText("1,5"), 1.5);
  EXPECT_DOUBLE_EQ(english.ZahlAusText("1.5"), 1.5);
  try {
    english.ZahlAusText("1,5");
    ADD_FAILURE() << "a comma read as a decimal separator";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'1,5' ist kein gültiger Gleitkommawert");
  }
}

}  // namespace
}  // namespace velkora::testing_lcr
