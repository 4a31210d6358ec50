#pragma once

#include <cstdio>
#include <string_view>

namespace velkora::bench {

// One line for scripts/perf-report.sh, which makes docs/performance.md from
// the benchmarks' output: what was measured and its time, the baseline
// measured in the same run and its time, their ratio and the aim (may be
// empty). Times in seconds; printed in the unit that suits them.
inline void PrintPerfLine(std::string_view what, double seconds, std::string_view baseline,
                          double baseline_seconds, std::string_view aim) {
  auto print_time = [](double s) {
    if (s < 1e-3) {
      std::printf("%.1f µs", s * 1e6);
    } else {
      std::printf("%.2f ms", s * 1e3);
    }
  };
  std::printf("PERF|%.*s|", static_cast<int>(what.size()), what.data());
  print_time(seconds);
  std::printf("|%.*s|", static_cast<int>(baseline.size()), baseline.data());
  print_time(baseline_seconds);
  std::printf("|%.3f|%.*s\n", baseline_seconds > 0 ? seconds / baseline_seconds : 0.0,
              static_cast<int>(aim.size()), aim.data());
  std::fflush(stdout);
}

}  // namespace velkora::bench
