#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "base/format_settings.h"
#include "lcr/lcr_model.h"
#include "lcr/lcr_ini_file.h"
#include "lcr/lcr_services.h"

namespace velkora {

// The state of one tariff evaluation and the steps that fill and read it:
// loading the configuration (settings file, tk32.ini, tariff files) and
// computing each provider's cost. An evaluation is a local of the call that
// runs it; two evaluations never share anything but the services, so one
// that starts while another waits in an error box cannot disturb it.
//
// Every fault is raised as an Error whose message is the text the user is
// shown after "Exception: "; the caller reports it.
class LcrEvaluation {
 public:
  // `formats` are the user's formats for the whole evaluation;
  // `current_year` completes dates written without a year.
  LcrEvaluation(LcrServices& services, FormatSettings formats, int current_year);
  LcrEvaluation(const LcrEvaluation&) = delete;
  LcrEvaluation& operator=(const LcrEvaluation&) = delete;

  // --- configuration ------------------------------------------------------

  // Fills ProviderListe, Feiertagsliste, TK32Verzeichnis and every profile
  // list from the configuration mode's sources. True when at least one
  // provider was read; afterwards every list of every provider holds its
  // configured profiles followed by the end-of-day profile. An unknown mode
  // is reported through LCRFehler and gives false.
  // REQUIRES: ProviderListe is empty.
  bool KonfigurationEinlesen();

  // The folder of tk32.ini as a full path with a trailing separator:
  // TK32Pfad when it holds the file (a relative or empty TK32Pfad, and the
  // absent one, which means ".", are taken from the current folder), else
  // the first folder of a breadth-first search over the fixed drives (then
  // written back to TK32Pfad unless the services keep it for this
  // evaluation). Empty when none.
  std::string TK32PfadSuchen();

  // A decimal amount: "" counts as "0"; a point is read as the user's
  // decimal separator. Raises the conversion's error.
  double ZahlAusText(std::string_view text) const;

  // --- tariff files -------------------------------------------------------

  // Expands every provider's two tariff references into tariff texts (each
  // tariff file read at most once, its text shared by every later provider
  // that names it) and parses them into the 16 profile lists.
  void TarifdateienEinlesen(ProviderList& liste, const std::string& verzeichnis);

  // Parses one tariff text into 8 profile lists; `name` is for the error
  // message only.
  void TarifTextAuswerten(ProfileLists& lists, std::string_view text, const std::string& name);

  // --- cost calculation ---------------------------------------------------

  // Sets the provider's Gesamtkosten to the cost of its provider profiles
  // plus that of its telephone profiles, for `dauer` seconds from `start`.
  // REQUIRES: 1 <= dauer <= 86400; every list ends with the end-of-day
  // profile.
  void ProviderkostenBerechnen(tEinProvider& provider, int32_t dauer, DateTime start);

  // The cost of one cost kind, period by period.
  double ZeitraumkostenBerechnen(const std::string& name, const ProfileLists& lists, int32_t dauer,
                                 DateTime start);

  // Whether the day number is one of the holidays.
  bool IstFeiertag(int64_t tag) const;

  const FormatSettings& Formats() const { return formats_; }

  // --- state --------------------------------------------------------------
  ProviderList ProviderListe;
  // " " followed by every holiday's day number and a blank.
  std::string Feiertagsliste;
  // Folder of tk32.ini with its trailing separator; empty in mode 0.
  std::string TK32Verzeichnis;
  // -1, 0 or +1: the sign of SortiereListe.
  int Sortierrichtung = 0;

 private:
  void ProvidernamenAusEinstellungen();
  void ProvidernamenAusTk32(const std::string& tk32_pfad);
  void FeiertageUndProfileAusEinstellungen();
  void FeiertageUndTarifeAusTk32(const std::string& tk32_pfad);
  void ProfileAusEinstellungen(tEinProvider& provider);
  std::vector<tEinProfil> ProfilzeileLesen(const LcrIniFile& settings, const std::string& sektion,
                                           const std::string& name, const std::string& profilname,
                                           double gebuehr);
  void VerbindungSuchen(tEinProvider& provider, const std::string& tk32_pfad);
  void AddFeiertag(std::string_view datum);
  std::string TarifTextLesen(const std::string& referenz, const std::string& verzeichnis);
  // Sets the pattern unless the shared instance holds it already: the
  // engine's fixed patterns are compiled once per run of one loop instead
  // of once per line.
  void SetPattern(std::string_view pattern);

  LcrServices& services_;
  FormatSettings formats_;
  int current_year_;
};

// "Provider '" + name + "': " + what, the form of most provider faults.
std::string ProviderFehler(std::string_view name, std::string_view what);

}  // namespace velkora
