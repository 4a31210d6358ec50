#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "automation/call_result.h"
#include "automation/t_app.h"
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

// Carries out a parsed call: the dispatcher resolves its name (any letter
// case) and named arguments and checks it, then TApp runs it. A refused
// call runs nothing.
CallResult RunCall(TApp& app, const ParsedCall& call);

// The whole program after main: reads the options (`args` without argv[0]),
// then runs the server with the call lines of `streams.in` as its message
// loop until the input ends. `executable` is the program's full path
// (parameter 0). Returns the exit code.
int RunPosixHost(const std::vector<std::string>& args, const std::string& executable,
                 HostStreams streams, const EnvLookup& env);

}  // namespace velkora
