#pragma once

#include <cstdint>
#include <string>

#include "dialup/t_ras.h"
#include "platform/perf_data.h"
#include "shell/script_frame.h"

namespace velkora {

// The entry name of the active dial-up connection (the first one the
// platform lists), or empty. Errors are reported in `frame` and give the
// empty text.
std::string GetRasConnection(ScriptFrame& frame, TRAS& ras);

// Hangs up every active dial-up connection, one after the other in the
// platform's order, logging " Schließe <name>" for each, and returns the
// name of the last one. A connection the platform still lists after its
// hang-up and the bounded wait is logged and not hung up again in the same
// call. Hang-up failures are not reported. No guard of its own: an error
// reaches the caller.
std::string RasClose(ScriptFrame& frame, TRAS& ras);

// The 32-bit counter `key` of the dial-up statistics: the 4 bytes of a
// binary (or untyped) value as a little-endian signed number; 0 for a
// missing value or one shorter than 4 bytes. A text or DWORD value, or one
// longer than 4 bytes, is reported as "Ungültiger Datentyp für '<key>'"
// and gives 0.
int32_t GetPerfStats(ScriptFrame& frame, PerfData& perf, const std::string& key);

}  // namespace velkora
