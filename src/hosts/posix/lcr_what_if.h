#pragma once

#include <string>
#include <vector>

#include "hosts/posix/host_options.h"
#include "hosts/posix/posix_host.h"

namespace velkora {

// `velkora lcr ...` (`args` without "lcr"): one tariff evaluation, printed
// as two lines (the name result, then the list joined by ";"). Boxes and,
// with --trace, the evaluation's log lines go to streams.err. Needs no
// instance lock and writes no log; like any evaluation it may store the
// folder a disk search found in TK32Pfad. Returns 0 when a cheapest
// provider was determined, 1 when not, 2 for a bad command line.
int RunLcrCommand(const std::vector<std::string>& args, HostStreams streams, const EnvLookup& env);

}  // namespace velkora
