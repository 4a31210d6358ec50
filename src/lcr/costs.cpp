// The cost of one connection with one provider, period by period.

#include <cmath>

#include "base/conversions.h"
#include "base/error.h"
#include "lcr/evaluation.h"

namespace velkora {
namespace {

// Whole increments needed for `seconds`: every started one counts.
int64_t StartedIncrements(int64_t seconds, int64_t taktdauer) {
  int64_t n = seconds / taktdauer;
  if (seconds % taktdauer != 0) ++n;
  return n;
}

}  // namespace

void LcrEvaluation::ProviderkostenBerechnen(tEinProvider& provider, int32_t dauer,
                                            DateTime start) {
  services_.Log(" Provider: " + provider.Name);
  services_.Log("  Providerkosten");
  provider.Gesamtkosten = ZeitraumkostenBerechnen(provider.Name, provider.ProvProfile, dauer, start);
  services_.Log("  Telefonkosten");
  provider.Gesamtkosten =
      ZeitraumkostenBerechnen(provider.Name, provider.TelProfile, dauer, start) +
      provider.Gesamtkosten;
  if (services_.log_enabled) {
    services_.Log("  Gesamtkosten: " + FloatToStr(provider.Gesamtkosten, formats_));
  }
}

double LcrEvaluation::ZeitraumkostenBerechnen(const std::string& name, const ProfileLists& lists,
                                              int32_t dauer, DateTime start) {
  const bool log = services_.log_enabled;
  double kosten = 0.0;
  bool erster = true;
  int64_t rest = dauer;
  DateTime x = start;

  while (rest > 0) {
    // Day type and profile are settled anew for every period, so a period
    // after midnight or after a profile start sees the new ones.
    const double tag = std::trunc(x);
    const bool feiertag = IstFeiertag(static_cast<int64_t>(tag));
    const int tagesart = feiertag ? kFeiertag : DayOfWeek(x);
    const std::vector<tEinProfil>& liste = lists[tagesart];
    if (log) {
      services_.Log("   " + DateToStr(x, formats_) + " " + FormatDateTime(formats_.long_time_format, x, formats_) +
                    ", " + std::string(kTagesartNamen[tagesart].log_label));
    }
    if (liste.size() < 2) {
      // Cannot happen after a complete load: every list ends with the
      // end-of-day profile behind at least one configured one.
      throw Error(ProviderFehler(name, "Providerkosten-Profil unvollständig"));
    }

    // A profile takes effect only after its start: at the very instant of
    // a start the profile before it still applies (except for the first).
    const double t = x - tag;
    std::size_t p = 0;
    while (p + 2 < liste.size() && liste[p + 1].Beginn < t) ++p;
    const tEinProfil& aktuell = liste[p];
    const tEinProfil& naechstes = liste[p + 1];

    if (erster) {
      if (log) services_.Log("    Einwahlkosten: " + FloatToStr(aktuell.Einwahlkosten, formats_));
      kosten = aktuell.Einwahlkosten;
      erster = false;
    }
    if (aktuell.Taktdauer <= 0) {
      throw Error(ProviderFehler(
          name, "ungültige Taktdauer (" + TimeToStr(aktuell.Beginn, formats_) + ")"));
    }

    // Seconds to the next profile start, plus one: an increment that starts
    // exactly at the start is still billed at the earlier price.
    const int64_t ms = std::llround((naechstes.Beginn - t) * kMillisecondsPerDay);
    const int64_t bis_naechstes = ms / 1000 + 1;

    double zeitraumkosten;
    if (rest > bis_naechstes) {
      const int64_t n = StartedIncrements(bis_naechstes, aktuell.Taktdauer);
      zeitraumkosten = static_cast<double>(n) * aktuell.Preis;
      const int64_t abgerechnet = n * aktuell.Taktdauer;
      if (log) services_.Log("    Dauer: " + IntToStr(abgerechnet));
      rest -= abgerechnet;
      x = x + static_cast<double>(abgerechnet) / 24 / 60 / 60;
    } else {
      const int64_t n = StartedIncrements(rest, aktuell.Taktdauer);
      if (log) services_.Log("    Dauer: " + IntToStr(rest));
      zeitraumkosten = static_cast<double>(n) * aktuell.Preis;
      rest = 0;
    }
    if (log) services_.Log("    Zeitraumkosten: " + FloatToStr(zeitraumkosten, formats_));
    kosten = kosten + zeitraumkosten;
  }
  return kosten;
}

}  // namespace velkora
