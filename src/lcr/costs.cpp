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

constexpr int64_t kMsPerDay = 86400000;

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// A time of day (fraction of a day) in whole milliseconds.
int64_t Milliseconds(double fraction_of_day) {
  return std::llround(fraction_of_day * kMillisecondsPerDay);
}

}  // namespace

void LcrEvaluation::ProviderkostenBerechnen(tEinProvider& provider, int32_t dauer, DateTime start) {
  services_.Log(" Provider: " + provider.Name);
  services_.Log("  Providerkosten");
  provider.Gesamtkosten =
      ZeitraumkostenBerechnen(provider.Name, provider.ProvProfile, dauer, start);
  services_.Log("  Telefonkosten");
  provider.Gesamtkosten =
      ZeitraumkostenBerechnen(provider.Name, provider.TelProfile, dauer, start) +
      provider.Gesamtkosten;
  if (services_.Logging()) {
    services_.Log("  Gesamtkosten: " + FloatToStr(provider.Gesamtkosten, formats_));
  }
}

double LcrEvaluation::ZeitraumkostenBerechnen(const std::string& name, const ProfileLists& lists,
                                              int32_t dauer, DateTime start) {
  const bool log = services_.Logging();
  double kosten = 0.0;
  bool erster = true;
  int64_t rest = dauer;
  // The instant in whole milliseconds: a connection that starts exactly at
  // a profile start or at midnight is then exactly there, and no rounding
  // noise of day fractions can move it to the other side.
  int64_t x = std::llround(start * kMillisecondsPerDay);

  while (rest > 0) {
    // Day type and profile are settled anew for every period, so a period
    // after midnight or after a profile start sees the new ones.
    const int64_t tag = FloorDiv(x, kMsPerDay);
    const int64_t t = x - tag * kMsPerDay;
    const int tagesart = IstFeiertag(tag) ? kFeiertag : DayOfWeek(static_cast<double>(tag));
    const std::vector<tEinProfil>& liste = lists[tagesart];
    if (log) {
      const DateTime jetzt = static_cast<double>(x) / kMillisecondsPerDay;
      services_.Log("   " + DateToStr(jetzt, formats_) + " " +
                    FormatDateTime(formats_.long_time_format, jetzt, formats_) + ", " +
                    std::string(kTagesartNamen[tagesart].log_label));
    }
    if (liste.size() < 2) {
      // Cannot happen after a complete load: every list ends with the
      // end-of-day profile behind at least one configured one.
      throw Error(ProviderFehler(name, "Providerkosten-Profil unvollständig"));
    }

    // A profile takes effect only after its start: at the very instant of
    // a start the profile before it still applies (except for the first).
    std::size_t p = 0;
    while (p + 2 < liste.size() && Milliseconds(liste[p + 1].Beginn) < t) ++p;
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

    // Whole seconds to the next profile start, plus one: an increment that
    // starts exactly at the start is still billed at the earlier price.
    const int64_t bis_naechstes = (Milliseconds(naechstes.Beginn) - t) / 1000 + 1;

    double zeitraumkosten;
    if (rest > bis_naechstes) {
      const int64_t n = StartedIncrements(bis_naechstes, aktuell.Taktdauer);
      zeitraumkosten = static_cast<double>(n) * aktuell.Preis;
      const int64_t abgerechnet = n * aktuell.Taktdauer;
      if (log) services_.Log("    Dauer: " + IntToStr(abgerechnet));
      rest -= abgerechnet;
      x += abgerechnet * 1000;
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
