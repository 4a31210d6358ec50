// Loading the engine's configuration: the mode, the providers, the holidays
// and, in mode 0, the time profiles kept in the settings file.

#include <cmath>
#include <map>

#include "base/ascii.h"
#include "base/conversions.h"
#include "base/error.h"
#include "lcr/evaluation.h"
#include "lcr/lcr_ini_file.h"
#include "lcr/runtime_text.h"
#include "lcr/ranking.h"
#include "lcr/tk32_search.h"

namespace velkora {
namespace {

constexpr std::string_view kSectionLcr = "LCR";
constexpr std::string_view kTk32Ini = "tk32.ini";
constexpr std::string_view kRasNamePattern = "^RasName=([^/]*)";
constexpr std::string_view kProfilePattern = "^(\\S+)\\s*(\\S+)\\s*(\\S+)(.*)";

std::string Numbered(std::string_view prefix, int32_t k) {
  std::string key(prefix);
  key += IntToStr(k);
  return key;
}

}  // namespace

std::string ProviderFehler(std::string_view name, std::string_view what) {
  std::string text = "Provider '";
  text += name;
  text += "': ";
  text += what;
  return text;
}

LcrEvaluation::LcrEvaluation(LcrServices& services, FormatSettings formats, int current_year)
    : services_(services), formats_(std::move(formats)), current_year_(current_year) {}

void LcrEvaluation::SetPattern(std::string_view pattern) {
  TPerlre& re = services_.perlre;
  if (re.Regex() != pattern) re.SetRegex(pattern);
}

double LcrEvaluation::ZahlAusText(std::string_view text) const {
  std::string number = text.empty() ? std::string("0") : std::string(text);
  for (char& c : number) {
    if (c == '.') c = formats_.decimal_separator;
  }
  return StrToFloat(number, formats_);
}

bool LcrEvaluation::KonfigurationEinlesen() {
  const LcrIniFile settings(services_.profile, services_.settings_file);
  const int32_t modus = settings.ReadInteger(kSectionLcr, "TK32Mode", 0);

  // Every mode but 0 needs tk32.ini, an unknown one included.
  std::string tk32_pfad;
  if (modus != 0) {
    TK32Verzeichnis = TK32PfadSuchen();
    if (TK32Verzeichnis.empty()) throw Error("Datei tk32.ini nicht gefunden");
    tk32_pfad = TK32Verzeichnis + std::string(kTk32Ini);
  }

  if (modus == 0 || modus == 1) {
    ProvidernamenAusEinstellungen();
  } else if (modus == 2) {
    ProvidernamenAusTk32(tk32_pfad);
  } else {
    LCRFehler(services_, "TK32Modus " + IntToStr(modus) + " unbekannt");
  }

  Feiertagsliste.clear();
  if (modus == 0) {
    FeiertageUndProfileAusEinstellungen();
  } else if (modus == 1 || modus == 2) {
    FeiertageUndTarifeAusTk32(tk32_pfad);
  }

  const bool gelesen = !ProviderListe.empty();

  for (tEinProvider& provider : ProviderListe) {
    for (int d = 0; d < kTagesarten; ++d) {
      if (provider.TelProfile[d].empty()) {
        throw Error(ProviderFehler(provider.Name, "Telefonkosten-Profil unvollständig"));
      }
      if (provider.ProvProfile[d].empty()) {
        throw Error(ProviderFehler(provider.Name, "Providerkosten-Profil unvollständig"));
      }
      provider.ProvProfile[d].push_back(Tagesendeprofil());
      provider.TelProfile[d].push_back(Tagesendeprofil());
    }
  }
  return gelesen;
}

std::string LcrEvaluation::TK32PfadSuchen() {
  const LcrIniFile settings(services_.profile, services_.settings_file);
  const char separator = services_.files.PathSeparator();
  std::string pfad = settings.ReadString(kSectionLcr, "TK32Pfad", ".");
  if (!pfad.empty() && pfad.back() != separator) pfad += separator;
  // A relative folder is the current folder's (the empty value names the
  // bare file there). It is made a full path once, here: the profile
  // functions would look for a relative name in a folder of their own, and
  // the check below must find the very file that tk32.ini and the tariff
  // files are then read from.
  pfad = services_.files.FullPath(pfad.empty() ? std::string(1, '.') + separator : pfad);
  if (!pfad.empty() && pfad.back() != separator) pfad += separator;
  if (services_.files.FileExists(pfad + std::string(kTk32Ini))) return pfad;

  services_.Log(" tk32.ini nicht in TK32Pfad gefunden, Festplatte durchsuchen");
  std::string gefunden = SearchFixedDrivesFor(services_.files, kTk32Ini);
  if (gefunden.empty()) return gefunden;
  if (!services_.store_found_tk32_folder) {
    services_.Log(" tk32.ini gefunden in " + gefunden + ", TK32Pfad bleibt unverändert");
  } else if (!services_.profile.WriteString(kSectionLcr, "TK32Pfad", gefunden,
                                            services_.settings_file)) {
    throw Error("nach " + services_.settings_file + " kann nicht geschrieben werden");
  }
  return gefunden;
}

void LcrEvaluation::ProvidernamenAusEinstellungen() {
  services_.Log(" Providernamen aus " + services_.settings_file + " einlesen");
  const LcrIniFile settings(services_.profile, services_.settings_file);
  for (int32_t k = 0; k <= 99; ++k) {
    std::string name = settings.ReadString(kSectionLcr, IntToStr(k), "");
    if (!name.empty()) ProviderListe.emplace_back(std::move(name), k);
  }
}

void LcrEvaluation::ProvidernamenAusTk32(const std::string& tk32_pfad) {
  services_.Log(" Providernamen aus " + tk32_pfad + " einlesen");
  const LcrIniFile tk32(services_.profile, tk32_pfad);
  const int32_t count = tk32.ReadInteger("Connections", "Count", -1);
  for (int32_t k : tk32.NumberedKeys("Connections", "Type", 0, count)) {
    if (tk32.ReadInteger("Connections", Numbered("Type", k), -1) != 4) continue;
    const std::string details = tk32.ReadString("Connections", Numbered("Details", k), "");
    SetPattern(kRasNamePattern);
    if (!services_.perlre.Match(details)) continue;
    std::string name = services_.perlre.GetSubExp(1).Text;
    std::string tel = tk32.ReadString("Connections", Numbered("TelCosts", k), "");
    std::string prov = tk32.ReadString("Connections", Numbered("ProvCosts", k), "");
    if (tel.empty() || prov.empty()) continue;
    tEinProvider& provider = ProviderListe.emplace_back(std::move(name), k);
    provider.TelTarif = std::move(tel);
    provider.ProvTarif = std::move(prov);
  }
}

void LcrEvaluation::AddFeiertag(std::string_view datum) {
  const DateTime tag = StrToDate(datum, formats_, current_year_);
  Feiertagsliste += IntToStr(static_cast<int64_t>(std::llround(tag)));
  Feiertagsliste += ' ';
}

bool LcrEvaluation::IstFeiertag(int64_t tag) const {
  std::string needle = " ";
  needle += IntToStr(tag);
  needle += ' ';
  return Feiertagsliste.find(needle) != std::string::npos;
}

void LcrEvaluation::FeiertageUndProfileAusEinstellungen() {
  services_.Log(" Zeitprofile/Feiertage aus " + services_.settings_file + " einlesen");
  const LcrIniFile settings(services_.profile, services_.settings_file);
  std::string_view rest;
  const std::string liste = settings.ReadString(kSectionLcr, "FtListe", "");
  rest = TrimRuntime(liste);
  Feiertagsliste = " ";
  while (!rest.empty()) {
    const std::size_t blank = rest.find(' ');
    AddFeiertag(rest.substr(0, blank));
    rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
  }
  for (tEinProvider& provider : ProviderListe) ProfileAusEinstellungen(provider);
}

void LcrEvaluation::ProfileAusEinstellungen(tEinProvider& provider) {
  const LcrIniFile settings(services_.profile, services_.settings_file);
  const std::string sektion = "LCR " + provider.Name;
  const double gebuehr = ZahlAusText(settings.ReadString(sektion, "Ew", "0"));
  if (gebuehr < 0) throw Error(ProviderFehler(provider.Name, "Einwahlkosten negativ"));

  // Day types often share a profile (Monday to Friday): its line is read
  // and taken apart once and used for each of them. Key names ignore letter
  // case, so the profile names are compared that way too.
  std::map<std::string, std::vector<tEinProfil>> gelesene_profile;
  for (int d = 0; d < kTagesarten; ++d) {
    const std::string_view key = kTagesartNamen[d].settings_key;
    const std::string profilname = settings.ReadString(sektion, key, "");
    if (profilname.empty()) {
      throw Error(ProviderFehler(provider.Name, d == kFeiertag
                                                    ? std::string("Zeitprofil Feiertag fehlt")
                                                    : "Zeitprofil " + std::string(key) + " fehlt"));
    }
    auto [profile, neu] = gelesene_profile.try_emplace(AsciiLowered(profilname));
    if (neu)
      profile->second = ProfilzeileLesen(settings, sektion, provider.Name, profilname, gebuehr);
    provider.ProvProfile[d] = profile->second;
    // Tariffs kept in the settings file have no telephone charges.
    provider.TelProfile[d].emplace_back(0.0, 60, 0.0, 0.0);
  }
}

std::vector<tEinProfil> LcrEvaluation::ProfilzeileLesen(const LcrIniFile& settings,
                                                        const std::string& sektion,
                                                        const std::string& name,
                                                        const std::string& profilname,
                                                        double gebuehr) {
  const std::string fehlerhaft =
      ProviderFehler(name, "Profil '" + profilname + "' nicht vorhanden/fehlerhaft");
  std::string zeile = settings.ReadString(sektion, profilname, "");
  if (zeile.empty()) throw Error(fehlerhaft);

  std::vector<tEinProfil> profile;
  SetPattern(kProfilePattern);
  TPerlre& re = services_.perlre;
  while (!zeile.empty()) {
    if (!re.Match(zeile)) throw Error(fehlerhaft);
    const DateTime beginn = StrToTime(re.GetSubExp(1).Text, formats_);
    const double preis = ZahlAusText(re.GetSubExp(2).Text);
    const int32_t taktdauer = StrToInt(re.GetSubExp(3).Text);
    profile.emplace_back(beginn, taktdauer, preis, gebuehr);
    zeile = std::string(TrimRuntime(re.GetSubExp(4).Text));
  }
  return profile;
}

void LcrEvaluation::FeiertageUndTarifeAusTk32(const std::string& tk32_pfad) {
  services_.Log(" Zeitprofile/Feiertage aus " + tk32_pfad + " einlesen");
  const LcrIniFile tk32(services_.profile, tk32_pfad);
  Feiertagsliste = " ";
  const int32_t count = tk32.ReadInteger("SpecialDays", "Count", -1);
  for (int32_t k : tk32.NumberedKeys("SpecialDays", "Day", 0, count)) {
    const std::string tag = tk32.ReadString("SpecialDays", Numbered("Day", k), "");
    if (!tag.empty()) AddFeiertag(tag);
  }
  for (tEinProvider& provider : ProviderListe) {
    // Only providers named in the settings file (mode 1) still lack their
    // tariffs here.
    if (provider.TelTarif.empty() || provider.ProvTarif.empty())
      VerbindungSuchen(provider, tk32_pfad);
    if (provider.TelTarif.empty() && provider.ProvTarif.empty()) {
      throw Error("Verbindung " + provider.Name + " in tk32.ini nicht gefunden");
    }
  }
  TarifdateienEinlesen(ProviderListe, TK32Verzeichnis);
}

void LcrEvaluation::VerbindungSuchen(tEinProvider& provider, const std::string& tk32_pfad) {
  const LcrIniFile tk32(services_.profile, tk32_pfad);
  const int32_t count = tk32.ReadInteger("Connections", "Count", -1);
  const std::string gesucht = AsciiUppered(provider.Name);
  for (int32_t k : tk32.NumberedKeys("Connections", "Type", 0, count)) {
    if (tk32.ReadInteger("Connections", Numbered("Type", k), -1) != 4) continue;
    const std::string details = tk32.ReadString("Connections", Numbered("Details", k), "");
    SetPattern(kRasNamePattern);
    if (!services_.perlre.Match(details)) continue;
    if (AsciiUppered(services_.perlre.GetSubExp(1).Text) != gesucht) continue;
    provider.TelTarif = tk32.ReadString("Connections", Numbered("TelCosts", k), "");
    provider.ProvTarif = tk32.ReadString("Connections", Numbered("ProvCosts", k), "");
    return;
  }
}

}  // namespace velkora
