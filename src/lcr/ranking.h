#pragma once

#include <string>
#include <string_view>

#include "lcr/lcr_model.h"
#include "lcr/lcr_services.h"

namespace velkora {

// Caption of the engine's own error box.
inline constexpr std::string_view kLcrFehlerCaption = "Fehler in Velkora.GetRasLCR";

// Reports an engine error: a modal box with `text`, the caption above, the
// error icon and an OK button; when it is closed, the log line " " + text.
// Other calls may run while the box is open.
void LCRFehler(LcrServices& services, const std::string& text);

// The order of the ranking list: by total cost, equal totals by Nummer;
// 0 for equal, +1 when a's value is the greater, -1 when the smaller, the
// sign reversed for a negative sort direction.
int KostenVergleich(const tEinProvider& a, const tEinProvider& b, int sortierrichtung);

// One complete evaluation for a connection of `dauer` seconds (text; limited
// to 1..86400) starting at the clock's current instant: loads the
// configuration, computes every provider's cost, picks the cheapest (the
// first read wins a tie) and lists all as "Name:cost" joined by
// `separator`, sorted by SortiereListe. Both results are cleared first;
// true when a cheapest provider was found. Faults are reported through
// LCRFehler as "Exception: " + message and leave the results empty.
bool VerbindungskostenAuswerten(LcrServices& services, std::string_view dauer,
                                std::string& name_ergebnis, std::string& listen_ergebnis,
                                std::string_view separator);

// The script function GetRasLCRName: the cheapest provider's name, "" after
// an error. `para5` receives the whole list with " | " between entries.
std::string GetRasLCRName(LcrServices& services, const std::string& dauer, std::string& para5);

// The script function GetRasLCRInfo: every provider with its cost, joined
// by `trenner`; "" after an error.
std::string GetRasLCRInfo(LcrServices& services, const std::string& dauer,
                          const std::string& trenner);

}  // namespace velkora
