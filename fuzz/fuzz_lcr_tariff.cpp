// Feeds arbitrary tariff files (.trf, written by the tariff program or by
// hand) to the tariff engine: the day types' tariff names, the range counts
// and the range lines ("08:00:00;60;0.0079;0.05") are all outside input.
// Two providers name the file, one for its provider costs and one for its
// telephone costs, so the text read once is parsed for both; then both
// connections are costed for a whole day, across midnight and every range.
// No input may crash the engine or keep it from ending; its own faults are
// errors its caller reports.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/error.h"
#include "lcr/evaluation.h"
#include "lcr_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace velkora;
  fuzzing::LcrHarness& harness = fuzzing::LcrHarness::Instance();
  harness.Begin(size % 2 == 1);
  harness.platform.profile.files["/tk32/tarif.trf"] =
      std::string(reinterpret_cast<const char*>(data), size);

  LcrEvaluation evaluation(harness.services, FormatSettings::German(), 2026);
  evaluation.Feiertagsliste = " 46381 ";  // 25.12.2026
  ProviderList& liste = evaluation.ProviderListe;
  liste.emplace_back("Flinknet", 0);
  liste.back().TelTarif = "000000";
  liste.back().ProvTarif = "tarif";
  liste.emplace_back("Kupfernetz", 1);
  liste.back().TelTarif = "tarif";
  liste.back().ProvTarif = "000000";
  try {
    evaluation.TarifdateienEinlesen(liste, "/tk32/");
    // As the configuration's load ends: a day type without a range is
    // refused, every list closes with the end of the day.
    for (tEinProvider& provider : liste) {
      for (int d = 0; d < kTagesarten; ++d) {
        if (provider.ProvProfile[d].empty() || provider.TelProfile[d].empty()) return 0;
        provider.ProvProfile[d].push_back(Tagesendeprofil());
        provider.TelProfile[d].push_back(Tagesendeprofil());
      }
    }
    const DateTime start = harness.platform.clock.Now();
    for (tEinProvider& provider : liste) evaluation.ProviderkostenBerechnen(provider, 86400, start);
  } catch (const Error&) {
    // A fault of the file: the evaluation reports it in its box.
  }
  return 0;
}
