#pragma once

#include <string>
#include <vector>

#include "hosts/posix/host_options.h"
#include "hosts/posix/posix_host.h"

namespace velkora {

// `velkora lcr ...` (`args` without "lcr"): one tariff evaluation, printed
// as two lines (the name result, then the list joined by ";"). Boxes and,
// with --trace, the evaluation's log lines go to streams.err. Needs no
// instance lock, writes no log and writes nothing into the settings: a
// folder a disk search finds for tk32.ini is used for this evaluation only
// and named in the trace. Returns 0 when a cheapest
// provider was determined, 1 when not, 2 for a bad command line.
int RunLcrCommand(const std::vector<std::string>& args, HostStreams streams, const EnvLookup& env);

}  // namespace velkora
