// Feeds arbitrary tariff files (.trf, written by the tariff program or by
// hand) to the tariff engine in mode 2: the day types' tariff names, the
// range counts and the range lines ("08:00:00;60;0.0079;0.05") are all
// outside input. Two providers use the file, one for its provider costs and
// one for its telephone costs, so that the text shared between them is
// parsed twice. No input may crash the engine or keep it from ending.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lcr_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  velkora::fuzzing::LcrHarness& harness = velkora::fuzzing::LcrHarness::Instance();
  harness.Begin(size % 2 == 1);
  auto& files = harness.platform.profile.files;
  files[std::string(velkora::fuzzing::kSettingsFile)] =
      "[LCR]\r\nTK32Mode=2\r\nTK32Pfad=/tk32/\r\n";
  files["/tk32/tk32.ini"] =
      "[Connections]\r\nCount=2\r\n"
      "Type0=4\r\nDetails0=RasName=Flinknet/019201/\r\nTelCosts0=000000\r\nProvCosts0=tarif\r\n"
      "Type1=4\r\nDetails1=RasName=Kupfernetz/0191011/\r\nTelCosts1=tarif\r\nProvCosts1=000000\r\n"
      "[SpecialDays]\r\nCount=1\r\nDay0=25.12.2026\r\n";
  files["/tk32/tarif.trf"] = std::string(reinterpret_cast<const char*>(data), size);
  harness.Evaluate("86400");
  return 0;
}
