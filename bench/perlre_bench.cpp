// A runaway pattern on a window title: `(a+)+$` against 254 letters and a
// "!" (it cannot match, and an unbounded engine tries an exponential number
// of ways). Measured with the wrapper's limits and, as the baseline, the way
// a server without them searches: the interpreter (studying used to mean no
// JIT) stopped only by the engine's own default limits. Also the cost of an
// ordinary window-list call (one pattern set, 40 titles matched) with and
// without JIT, for the price of preparing the pattern.
//
// How long a search may run before the step limit stops it, for several
// runaway patterns with either matcher, gives both ends of what each limit
// must do: the longest is what a runaway search costs (at most 100 ms), the
// shortest is the longest search that surely still matches (at least 10 ms,
// or the engine's own limit). A step of the interpreter costs several of the
// JIT's, which is why the two matchers have limits of their own.
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

// Runaway patterns of several shapes, one of them calling a group.
constexpr const char* kLimitPatterns[] = {"(a+)+$",        "(a|aa)+$",   "(?:(a+)\\1)*$",
                                          "^(\\w+\\s?)*$", "(.*a){20}$", "(a(?1)?)+$"};
constexpr int kLimitPatternCount = sizeof(kLimitPatterns) / sizeof(kLimitPatterns[0]);

// One runaway pattern with one matcher, stopped by the wrapper's limits. The
// interpreter is forced by leaving Study off. Registered from main, one name
// for each pattern and matcher.
void StoppedByTheLimit(benchmark::State& state, bool jit, int pattern) {
  TPerlre re(jit, kPerlreCaseless);
  re.SetRegex(kLimitPatterns[pattern]);
  for (auto _ : state) {
    if (re.Match(RunawayTitle())) state.SkipWithError("runaway pattern matched");
  }
}

std::string StoppedName(bool jit, int pattern) {
  return std::string("BM_StoppedByTheLimit_") + (jit ? "jit_" : "interpreter_") +
         std::to_string(pattern);
}

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
  for (int i = 0; i < kLimitPatternCount; ++i) {
    for (bool jit : {false, true}) {
      benchmark::RegisterBenchmark(StoppedName(jit, i).c_str(), [jit, i](benchmark::State& state) {
        StoppedByTheLimit(state, jit, i);
      })->Unit(benchmark::kMillisecond);
    }
  }
  velkora::bench::RecordingReporter reporter;
  if (!velkora::bench::RunBenchmarks(argc, argv, reporter)) return 1;
  auto& t = reporter.real_;
  for (const char* name :
       {"BM_RunawayBounded", "BM_RunawayEngineDefaults", "BM_RunawayBoundedInterpreter",
        "BM_WindowListCallJit", "BM_WindowListCallInterpreter"}) {
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
  // Both ends of each matcher's step limit. The last pattern calls a group:
  // the wrapper runs it in the interpreter even with Study on.
  struct Ends {
    double shortest = 1e9, longest = 0;
    std::string shortest_name, longest_name;
  } ends[2];
  for (int i = 0; i < kLimitPatternCount; ++i) {
    for (int jit : {0, 1}) {
      const std::string name = StoppedName(jit != 0, i);
      if (!t.count(name) || t[name] <= 0) return 1;
      const bool runs_jit = jit && i != kLimitPatternCount - 1;
      std::cout << "stopped by the limit, " << (runs_jit ? "JIT        " : "interpreter") << " "
                << kLimitPatterns[i] << ": " << t[name] * 1e3 << " ms\n";
      Ends& e = ends[runs_jit ? 1 : 0];
      if (t[name] < e.shortest) {
        e.shortest = t[name];
        e.shortest_name = kLimitPatterns[i];
      }
      if (t[name] > e.longest) {
        e.longest = t[name];
        e.longest_name = kLimitPatterns[i];
      }
    }
  }
  const PerlreLimits limits;
  for (int jit : {1, 0}) {
    std::cout << (jit ? "JIT" : "interpreter") << " step limit "
              << (jit ? limits.jit_match_limit : limits.match_limit) << ": shortest stopped search "
              << ends[jit].shortest * 1e3 << " ms (" << ends[jit].shortest_name << "), longest "
              << ends[jit].longest * 1e3 << " ms (" << ends[jit].longest_name << ")\n";
  }
  std::cout << std::flush;
  velkora::bench::PrintPerfLine("regex: window list call, JIT", t["BM_WindowListCallJit"],
                                "the same, interpreter", t["BM_WindowListCallInterpreter"], "");
  velkora::bench::PrintPerfLine("regex: runaway search, bounded", t["BM_RunawayBounded"],
                                "the engine's default limits", t["BM_RunawayEngineDefaults"],
                                "100 ms or less");
  velkora::bench::PrintPerfLine("regex: longest search the step limit stops, interpreter",
                                ends[0].longest, "the engine's default limits",
                                t["BM_RunawayEngineDefaults"], "100 ms or less");
  velkora::bench::PrintPerfLine("regex: longest search the step limit stops, JIT", ends[1].longest,
                                "the engine's default limits", t["BM_RunawayEngineDefaults"],
                                "100 ms or less");
  velkora::bench::PrintPerfLine("regex: shortest search the step limit stops, interpreter",
                                ends[0].shortest, "the engine's default limits",
                                t["BM_RunawayEngineDefaults"], "10 ms or more");
  return 0;
}
