// Feeds arbitrary settings files to the tariff engine in mode 0, where the
// tariffs are kept in the server's own file: the provider names, the
// holiday list, the connection fees and the time-profile lines
// ("00:00:00 0.0099 60 08:00 0.02 60 ..."), all typed by users. No input may
// crash the engine or keep it from ending; each evaluation either ranks the
// providers or reports its error in a box.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lcr_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  velkora::fuzzing::LcrHarness& harness = velkora::fuzzing::LcrHarness::Instance();
  harness.Begin(size % 2 == 1);
  harness.platform.profile.files[std::string(velkora::fuzzing::kSettingsFile)] =
      std::string(reinterpret_cast<const char*>(data), size);
  // The longest connection: it crosses midnight and every profile of the
  // day.
  harness.Evaluate("86400");
  return 0;
}
