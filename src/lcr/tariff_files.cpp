// TK32's tariff files: references expanded into tariff texts, and tariff
// texts parsed into profile lists.

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "base/ascii.h"
#include "base/conversions.h"
#include "base/error.h"
#include "lcr/evaluation.h"
#include "lcr/lcr_ini_file.h"
#include "lcr/runtime_text.h"

namespace velkora {
namespace {

constexpr std::string_view kDummyTarif = "000000";
constexpr std::string_view kDayPattern = "^(.*?)#(.*)";
constexpr std::string_view kRangePattern = "\\|(.+?);(.+?);(.+?)(?:;(.+?))?(\\|.*)$";

std::string DummyTarifText() {
  std::string text = "|";
  for (int d = 0; d < kTagesarten; ++d) text += "00:00:00;60;0.00|#|";
  return text;
}

bool IsTariffText(const std::string& tarif) { return !tarif.empty() && tarif[0] == '|'; }

}  // namespace

void LcrEvaluation::TarifdateienEinlesen(ProviderList& liste, const std::string& verzeichnis) {
  for (std::size_t i = 0; i < liste.size(); ++i) {
    tEinProvider& provider = liste[i];
    for (;;) {
      if (provider.ProvTarif.empty()) {
        throw Error("Kein Providertarif für " + provider.Name + " vorhanden");
      }
      if (provider.TelTarif.empty()) {
        throw Error("Kein Telefontarif für " + provider.Name + " vorhanden");
      }
      // With both still references, the telephone tariff goes first.
      std::string referenz;
      if (!IsTariffText(provider.ProvTarif)) referenz = provider.ProvTarif;
      if (!IsTariffText(provider.TelTarif)) referenz = provider.TelTarif;
      if (referenz.empty()) break;

      const std::string text = TarifTextLesen(referenz, verzeichnis);
      // Every later provider that names the same tariff gets its text now,
      // so no file is read twice; earlier ones were expanded in their turn.
      for (std::size_t j = i; j < liste.size(); ++j) {
        if (liste[j].ProvTarif == referenz) liste[j].ProvTarif = text;
        if (liste[j].TelTarif == referenz) liste[j].TelTarif = text;
      }
    }
    TarifTextAuswerten(provider.ProvProfile, provider.ProvTarif, provider.Name);
    TarifTextAuswerten(provider.TelProfile, provider.TelTarif, provider.Name);
  }
}

std::string LcrEvaluation::TarifTextLesen(const std::string& referenz,
                                          const std::string& verzeichnis) {
  if (referenz == kDummyTarif) {
    services_.Log("  Tarifdatei 000000 als Dummy-Eintrag anlegen");
    return DummyTarifText();
  }
  services_.Log("  Tarifdatei " + referenz + " einlesen");
  const LcrIniFile datei(services_.profile, verzeichnis + referenz + ".trf");
  // Day types often share a tariff (Monday to Friday): its ranges are read
  // from the file once and used for each of them. Section names ignore
  // letter case, so the names are compared that way too.
  std::map<std::string, std::string> bereiche_je_tarif;
  std::string text = "|";
  for (int d = 0; d < kTagesarten; ++d) {
    const std::string tarif = datei.ReadString("Tarifzuordnung", kTagesartNamen[d].tariff_key, "");
    if (!tarif.empty()) {
      auto [bereiche, neu] = bereiche_je_tarif.try_emplace(AsciiLowered(tarif));
      if (neu) {
        const std::string sektion = "Tarif " + tarif;
        const int32_t anzahl = datei.ReadInteger(sektion, "Bereiche", 0);
        for (int32_t m : datei.NumberedKeys(sektion, "Bereich", 1, anzahl)) {
          const std::string zeile = datei.ReadString(sektion, "Bereich" + IntToStr(m), "");
          if (zeile.empty()) continue;
          bereiche->second += zeile;
          bereiche->second += '|';
        }
      }
      text += bereiche->second;
    }
    text += "#|";
  }
  return text;
}

void LcrEvaluation::TarifTextAuswerten(ProfileLists& lists, std::string_view text,
                                       const std::string& name) {
  TPerlre& re = services_.perlre;

  // Cut the text into its eight days first, so that each of the two
  // patterns is compiled once per text. The days are parsed in order
  // afterwards, and a text with too few days fails only after the days
  // before the gap were parsed, as it would day by day.
  std::vector<std::string> tage;
  tage.reserve(kTagesarten);
  std::string rest(text);
  SetPattern(kDayPattern);
  while (static_cast<int>(tage.size()) < kTagesarten && re.Match(rest)) {
    tage.push_back(re.GetSubExp(1).Text);
    rest = re.GetSubExp(2).Text;
  }

  SetPattern(kRangePattern);
  for (std::size_t d = 0; d < tage.size(); ++d) {
    std::string tag = std::move(tage[d]);
    while (re.Match(tag)) {
      const TSubExp takt_text = re.GetSubExp(2);
      const DateTime beginn = StrToTime(re.GetSubExp(1).Text, formats_);
      // Increments are whole seconds: a half goes to the even neighbour.
      const double takt = std::nearbyint(ZahlAusText(takt_text.Text));
      if (!(takt >= std::numeric_limits<int32_t>::min() &&
            takt <= std::numeric_limits<int32_t>::max())) {
        throw ConvertError("'" + takt_text.Text + "' ist kein gültiger Integerwert");
      }
      const double preis = ZahlAusText(re.GetSubExp(3).Text);
      const double gebuehr = ZahlAusText(re.GetSubExp(4).Text);
      lists[d].emplace_back(beginn, static_cast<int32_t>(takt), preis, gebuehr);
      tag = std::string(TrimRuntime(re.GetSubExp(5).Text));
    }
  }

  if (static_cast<int>(tage.size()) < kTagesarten) {
    services_.Log("TK32-Tarifdatei: " + rest);
    throw Error("Fehler beim Auswerten der Tarifdatei, Provider " + name);
  }
}

}  // namespace velkora
