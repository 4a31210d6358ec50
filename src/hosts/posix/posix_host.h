#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "automation/dispatcher.h"
#include "hosts/posix/call_line.h"
#include "hosts/posix/host_options.h"

namespace velkora {

// The streams the host talks through: call lines in, answers out, message
// boxes and usage errors to `err`.
struct HostStreams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// Hands a parsed call to the dispatcher: the name is resolved in any letter
// case (an unknown one is refused with the platform's status), named
// arguments go to their declared positions.
CallResult RunCall(Dispatcher& dispatcher, const ParsedCall& call);

// The whole program after main: reads the options (`args` without argv[0]),
// then runs the server with the call lines of `streams.in` as its message
// loop until the input ends. `executable` is the program's full path
// (parameter 0). Returns the exit code.
int RunPosixHost(const std::vector<std::string>& args, const std::string& executable,
                 HostStreams streams, const EnvLookup& env);

}  // namespace velkora
