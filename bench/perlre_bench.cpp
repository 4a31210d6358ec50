// A runaway pattern on a window title: `(a+)+$` against 254 letters and a
// "!" (it cannot match, and an unbounded engine tries an exponential number
// of ways). Measured with the wrapper's limits and, as the baseline, the way
// a server without them searches: the interpreter (studying used to mean no
// JIT) stopped only by the engine's own default limits. Also the cost of an ordinary window-list call (one pattern set,
// 40 titles matched) with and without JIT, for the price of preparing the
// pattern. The last lines give the ratios and the bounded search's time
// against the 100 ms a script may wait.
#include <benchmark/benchmark.h>

#include <iostream>
#include <string>
#include <vector>

#include "perf_line.h"
#include "recording_reporter.h"
#include "regex/perlre.h"

namespace {

using velkora::kPerlreCaseless;
using velkora::PerlreLimits;
using velkora::TPerlre;

const std::string& RunawayTitle() {
  static const std::string title = std::string(254, 'a') + "!";
  return title;
}

// The engine's defaults: ten million steps and depth, 20 GB of heap.
PerlreLimits EngineDefaults() {
  PerlreLimits limits;
  limits.jit_match_limit = 10'000'000;
  limits.match_limit = 10'000'000;
  limits.depth_limit = 10'000'000;
  limits.heap_limit_kib = 20'000'000;
  return limits;
}

void Runaway(benchmark::State& state, TPerlre& re) {
  re.SetRegex("(a+)+$");
  for (auto _ : state) {
    if (re.Match(RunawayTitle())) state.SkipWithError("runaway pattern matched");
  }
}

void BM_RunawayBounded(benchmark::State& state) {
  TPerlre re(true, kPerlreCaseless);
  Runaway(state, re);
}
BENCHMARK(BM_RunawayBounded)->Unit(benchmark::kMillisecond);

void BM_RunawayEngineDefaults(benchmark::State& state) {
  TPerlre re(false, kPerlreCaseless, EngineDefaults());
  Runaway(state, re);
}
BENCHMARK(BM_RunawayEngineDefaults)->Unit(benchmark::kMillisecond);

void BM_RunawayBoundedInterpreter(benchmark::State& state) {
  TPerlre re(false, kPerlreCaseless);
  Runaway(state, re);
}
BENCHMARK(BM_RunawayBoundedInterpreter)->Unit(benchmark::kMillisecond);

const std::vector<std::string>& Titles() {
  static const std::vector<std::string> titles = [] {
    std::vector<std::string> t;
    for (int i = 0; i < 40; ++i) {
      t.push_back("Dokument " + std::to_string(i) + " - Editor");
    }
    t.push_back("Posteingang - Microsoft Outlook");
    return t;
  }();
  return titles;
}

void WindowListCall(benchmark::State& state, bool study) {
  TPerlre re(study, kPerlreCaseless);
  for (auto _ : state) {
    re.SetRegex("^(dokument [0-9]+|post).*(editor|outlook)$");
    int found = 0;
    for (const std::string& title : Titles()) found += re.Match(title) ? 1 : 0;
    if (found != 41) state.SkipWithError("wrong matches");
  }
}

void BM_WindowListCallJit(benchmark::State& state) { WindowListCall(state, true); }
BENCHMARK(BM_WindowListCallJit)->Unit(benchmark::kMicrosecond);

void BM_WindowListCallInterpreter(benchmark::State& state) { WindowListCall(state, false); }
BENCHMARK(BM_WindowListCallInterpreter)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  velkora::bench::RecordingReporter reporter;
  if (!velkora::bench::RunBenchmarks(argc, argv, reporter)) return 1;
  auto& t = reporter.real_;
  for (const char* name : {"BM_RunawayBounded", "BM_RunawayEngineDefaults",
                           "BM_RunawayBoundedInterpreter", "BM_WindowListCallJit",
                           "BM_WindowListCallInterpreter"}) {
    if (!t.count(name) || t[name] <= 0) return 1;
  }
  std::cout << "ratio window list call jit/interpreter = "
            << t["BM_WindowListCallJit"] / t["BM_WindowListCallInterpreter"] << "\n";
  std::cout << "ratio runaway interpreter/jit = "
            << t["BM_RunawayBoundedInterpreter"] / t["BM_RunawayBounded"] << "\n";
  std::cout << "runaway search, bounded: " << t["BM_RunawayBounded"] * 1e3
            << " ms = " << t["BM_RunawayBounded"] / 0.1 << " of the 100 ms budget\n";
  std::cout << "ratio runaway bounded/engine defaults = "
            << t["BM_RunawayBounded"] / t["BM_RunawayEngineDefaults"] << "\n";
  std::cout << std::flush;
  velkora::bench::PrintPerfLine("regex: window list call, JIT", t["BM_WindowListCallJit"],
                                "the same, interpreter", t["BM_WindowListCallInterpreter"], "");
  velkora::bench::PrintPerfLine("regex: runaway search, bounded", t["BM_RunawayBounded"],
                                "the engine's default limits", t["BM_RunawayEngineDefaults"],
                                "100 ms or less");
  return 0;
}
