#include "dialup/dialup_functions.h"

#include <exception>
#include <vector>

#include "base/error.h"

namespace velkora {

std::string GetRasConnection(ScriptFrame& frame, TRAS& ras) {
  std::string result;
  try {
    frame.LogCall("GetRasConnection()");
    result = ras.QueryCurrentConnection();
    frame.LogResult(Quoted(result));
  } catch (const std::exception& error) {
    frame.ReportException(error);
    result.clear();
  }
  return result;
}

std::string RasClose(ScriptFrame& frame, TRAS& ras) {
  std::string result;
  frame.LogCall("RasClose()");
  // Each connection is hung up once per call: one that the platform keeps
  // listing after its hang-up is passed over, or the loop would never end.
  std::vector<uintptr_t> hung_up;
  for (;;) {
    const std::string name = ras.QueryCurrentConnection(hung_up);
    if (name.empty()) break;
    frame.WriteLog(" Schließe " + name);
    hung_up.push_back(ras.CurRASConn());
    ras.AttachConnection(0);
    ras.HangUpAndWait();
    if (ras.HangUpTimedOut()) {
      frame.WriteLog(" " + name + " ist nach " + std::to_string(TRAS::kHangUpWaitLimitMs / 1000) +
                     " Sekunden noch verbunden, Warten abgebrochen");
    }
    result = name;
  }
  frame.LogResult(Quoted(result));
  return result;
}

namespace {

// The value read as the registry's binary reader reads it into a 4-byte
// buffer: only untyped and binary data fits, and only up to 4 bytes.
int32_t CounterValue(const RegistryValue& value, const std::string& key) {
  constexpr std::size_t kBufferSize = 4;
  const bool text_or_number =
      value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegDword;
  if (text_or_number || value.data.size() > kBufferSize) {
    throw Error("Ungültiger Datentyp für '" + key + "'");
  }
  if (value.data.size() != kBufferSize) return 0;
  uint32_t bits = 0;
  for (std::size_t i = kBufferSize; i-- > 0;) bits = (bits << 8) | value.data[i];
  return static_cast<int32_t>(bits);
}

}  // namespace

int32_t GetPerfStats(ScriptFrame& frame, PerfData& perf, const std::string& key) {
  frame.LogCall(CallText("GetPerfStats", {key}));
  try {
    int32_t result = 0;
    if (const std::optional<RegistryValue> value = perf.ReadStatValue(key)) {
      result = CounterValue(*value, key);
    }
    frame.LogResult(std::to_string(result));
    return result;
  } catch (const std::exception& error) {
    frame.ReportException(error);
    return 0;
  }
}

}  // namespace velkora
