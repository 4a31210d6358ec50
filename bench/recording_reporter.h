#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace velkora::bench {

// Prints as usual and remembers each benchmark's time per iteration in
// seconds (whatever unit it prints in), so that main can print ratios.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        const double per_second = benchmark::GetTimeUnitMultiplier(run.time_unit);
        real_[run.run_name.function_name] = run.GetAdjustedRealTime() / per_second;
        cpu_[run.run_name.function_name] = run.GetAdjustedCPUTime() / per_second;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> real_;
  std::map<std::string, double> cpu_;
};

// Runs the benchmarks the command line selects (all by default) with
// `reporter`. False when the command line was not understood.
inline bool RunBenchmarks(int& argc, char** argv, RecordingReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return true;
}

}  // namespace velkora::bench
