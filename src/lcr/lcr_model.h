#pragma once

// The tariff engine's records: a time profile, a provider with its profile
// lists, and the day types that index them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkora {

// One time profile: from `Beginn` (fraction of a day) on, every started
// increment of `Taktdauer` seconds costs `Preis`. `Einwahlkosten` is the
// connection fee, charged once when the profile is in effect at the start of
// a connection.
class tEinProfil {
 public:
  tEinProfil(double beginn, int32_t taktdauer, double preis, double einwahlkosten)
      : Beginn(beginn), Taktdauer(taktdauer), Preis(preis), Einwahlkosten(einwahlkosten) {}

  double Beginn;
  int32_t Taktdauer;
  double Preis;
  double Einwahlkosten;
};

// The profile that closes every list: it starts at the end of the day, so
// the lookup of the profile in effect always stops before it.
inline tEinProfil Tagesendeprofil() { return tEinProfil(1.0, 60, 0.0, 0.0); }

// Day types: 0 holiday, 1 Sunday ... 7 Saturday (the weekday number with
// Sunday = 1).
inline constexpr int kTagesarten = 8;
inline constexpr int kFeiertag = 0;

struct TagesartNames {
  std::string_view settings_key;  // key of the profile name in "LCR <name>"
  std::string_view tariff_key;    // key in a tariff file's [Tarifzuordnung]
  std::string_view log_label;     // label in the cost log
};

inline constexpr std::array<TagesartNames, kTagesarten> kTagesartNamen{{
    {"Ft", "f1", "Feiertag"},
    {"So", "so", "So"},
    {"Mo", "mo", "Mo"},
    {"Di", "di", "Di"},
    {"Mi", "mi", "Mi"},
    {"Do", "do", "Do"},
    {"Fr", "fr", "Fr"},
    {"Sa", "sa", "Sa"},
}};

// One list of profiles per day type. A list owns its profiles.
using ProfileLists = std::array<std::vector<tEinProfil>, kTagesarten>;

// One configured provider. It owns its 16 profile lists.
class tEinProvider {
 public:
  tEinProvider() = default;
  tEinProvider(std::string name, int32_t nummer) : Name(std::move(name)), Nummer(nummer) {}

  std::string Name;
  double Gesamtkosten = -1.0;
  // A tariff reference as read, later the tariff text it stands for.
  std::string TelTarif;
  std::string ProvTarif;
  ProfileLists ProvProfile;
  ProfileLists TelProfile;
  // The settings key number (modes 0 and 1) or the connection number in
  // tk32.ini (mode 2); the tie-break of the ranking.
  int32_t Nummer = -1;
};

// The providers of one evaluation, in the order they were read.
using ProviderList = std::vector<tEinProvider>;

}  // namespace velkora
