#include "lcr/ranking.h"

#include <algorithm>
#include <exception>

#include "base/conversions.h"
#include "lcr/evaluation.h"
#include "lcr/lcr_ini_file.h"
#include "shell/script_frame.h"

namespace velkora {
namespace {

constexpr int32_t kLaengsteDauer = 86400;

int Sign(double difference) { return difference > 0 ? 1 : (difference < 0 ? -1 : 0); }

}  // namespace

void LCRFehler(LcrServices& services, const std::string& text) {
  services.boxes.Show(text, std::string(kLcrFehlerCaption), BoxIcon::kError);
  services.Log(" " + text);
}

int KostenVergleich(const tEinProvider& a, const tEinProvider& b, int sortierrichtung) {
  int result = a.Gesamtkosten != b.Gesamtkosten
                   ? Sign(a.Gesamtkosten - b.Gesamtkosten)
                   : (a.Nummer > b.Nummer ? 1 : (a.Nummer < b.Nummer ? -1 : 0));
  if (sortierrichtung == -1) result = -result;
  return result;
}

bool VerbindungskostenAuswerten(LcrServices& services, std::string_view dauer,
                                std::string& name_ergebnis, std::string& listen_ergebnis,
                                std::string_view separator) {
  // One instant for the whole evaluation, taken before anything is read.
  const DateTime start = services.clock.Now();
  name_ergebnis.clear();
  listen_ergebnis.clear();
  bool ergebnis = false;

  LcrEvaluation auswertung(services, services.locale.Formats(), DecodeDate(start).year);
  const LcrIniFile settings(services.profile, services.settings_file);
  const int32_t sortiere = settings.ReadInteger("LCR", "SortiereListe", 0);
  auswertung.Sortierrichtung = sortiere > 0 ? 1 : (sortiere < 0 ? -1 : 0);

  try {
    int32_t sekunden = StrToInt(dauer);
    if (sekunden < 1) {
      services.Log(" Dauer zu klein, auf 1 s gesetzt");
      sekunden = 1;
    } else if (sekunden > kLaengsteDauer) {
      services.Log(" Dauer zu groß, auf 86400 s (= 1 d) gesetzt");
      sekunden = kLaengsteDauer;
    }
    services.Log(" Verbindungskosten auswerten ab " + DateTimeToStr(start, auswertung.Formats()) +
                 " für " + IntToStr(sekunden) + " Sekunden");

    if (!auswertung.KonfigurationEinlesen()) {
      LCRFehler(services, "Keine Provider zum Auswerten gefunden");
    } else {
      ProviderList& liste = auswertung.ProviderListe;
      for (tEinProvider& provider : liste) {
        auswertung.ProviderkostenBerechnen(provider, sekunden, start);
      }
      // Chosen before the sort, which changes only the list.
      const tEinProvider* billigster = &liste.front();
      for (const tEinProvider& provider : liste) {
        if (provider.Gesamtkosten < billigster->Gesamtkosten) billigster = &provider;
      }
      name_ergebnis = billigster->Name;
      ergebnis = true;

      if (auswertung.Sortierrichtung != 0) {
        const int richtung = auswertung.Sortierrichtung;
        std::stable_sort(liste.begin(), liste.end(),
                         [richtung](const tEinProvider& a, const tEinProvider& b) {
                           return KostenVergleich(a, b, richtung) < 0;
                         });
      }
      for (std::size_t i = 0; i < liste.size(); ++i) {
        if (i > 0) listen_ergebnis += separator;
        listen_ergebnis += liste[i].Name;
        listen_ergebnis += ':';
        listen_ergebnis += FloatToStr(liste[i].Gesamtkosten, auswertung.Formats());
      }
    }
  } catch (const std::exception& fehler) {
    LCRFehler(services, std::string("Exception: ") + fehler.what());
  }
  // The evaluation, with its providers and their profiles, ends here.
  return ergebnis;
}

std::string GetRasLCRName(LcrServices& services, const std::string& dauer, std::string& para5) {
  std::string ergebnis;
  const std::string aufruf = "GetRasLCRName(" + Quoted(dauer) + ")";
  services.frame.SetStatusLine(aufruf);
  services.frame.WriteLog(aufruf);
  std::string liste;
  VerbindungskostenAuswerten(services, dauer, ergebnis, liste, " | ");
  para5 = liste;
  services.frame.LogResult(Quoted(ergebnis));
  return ergebnis;
}

std::string GetRasLCRInfo(LcrServices& services, const std::string& dauer,
                          const std::string& trenner) {
  std::string ergebnis;
  const std::string aufruf = "GetRasLCRInfo(" + Quoted(dauer) + "," + Quoted(trenner) + ")";
  services.frame.SetStatusLine(aufruf);
  services.frame.WriteLog(aufruf);
  std::string name;
  VerbindungskostenAuswerten(services, dauer, name, ergebnis, trenner);
  services.frame.LogResult(Quoted(ergebnis));
  return ergebnis;
}

}  // namespace velkora
