#!/usr/bin/env bash
# Writes docs/performance.md from the benchmarks' own output: every PERF
# line (figure, baseline measured in the same run, ratio, aim) in a table
# per benchmark, the machine the run was made on, and the ratio lines.
#
#   scripts/perf-report.sh [--from <saved output of scripts/bench.sh>] [scripts/bench.sh options]
#
# Without --from it runs scripts/bench.sh (everything, Wine included: about
# a quarter of an hour on two busy cores) and keeps its output in
# build/bench-output.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

output=build/bench-output.txt
if [[ ${1:-} == --from ]]; then
  output=$2
  shift 2
else
  mkdir -p build
  load_before=$(cut -d' ' -f1-3 /proc/loadavg)
  scripts/bench.sh "$@" | tee "$output"
fi
load_before=${load_before:-unknown}

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
cores=$(nproc)
os=$(. /etc/os-release && echo "$PRETTY_NAME")
kernel=$(uname -r)
memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
compiler=$(g++ --version | head -n 1)
wine_version=$(wine --version 2>/dev/null || echo "not installed")
commit=$(git rev-parse --short HEAD)
when=$(date -u '+%Y-%m-%d %H:%M UTC')

report=docs/performance.md
mkdir -p docs
{
  echo "# Performance"
  echo
  echo "Written by \`scripts/perf-report.sh\` from the output of \`scripts/bench.sh\`;"
  echo "do not edit by hand. Every figure stands beside a baseline measured in"
  echo "the same run on the same machine, and the ratio is figure / baseline."
  echo "Times are medians unless the benchmark says otherwise."
  echo
  echo "## Machine"
  echo
  echo "| | |"
  echo "|---|---|"
  echo "| CPU | $cpu |"
  echo "| cores | $cores |"
  echo "| memory | $memory |"
  echo "| OS | $os, kernel $kernel |"
  echo "| compiler | $compiler |"
  echo "| Wine | $wine_version |"
  echo "| load average before the run (1, 5, 15 min) | $load_before |"
  echo "| commit | $commit |"
  echo "| run | $when |"
  echo
  echo "Wall times carry whatever else the machine was doing (see the load"
  echo "average above), which is why each figure is read against a baseline"
  echo "measured in the same run."
  echo
  awk '
    /^== / { name = substr($0, 4); next }
    /^PERF\|/ {
      n = split($0, f, "|")
      if (!(name in seen)) { seen[name] = 1; order[++count] = name }
      rows[name] = rows[name] sprintf("| %s | %s | %s | %s | %s | %s |\n", f[2], f[3], f[4], f[5], f[6], (n >= 7 && f[7] != "") ? f[7] : "—")
    }
    END {
      for (i = 1; i <= count; i++) {
        printf "## %s\n\n", order[i]
        print "| figure | value | baseline | baseline value | ratio | aim |"
        print "|---|---|---|---|---|---|"
        printf "%s\n", rows[order[i]]
      }
    }' "$output"
  echo "## As printed"
  echo
  echo "The Google Benchmark programs' ratio lines, and the other benchmarks'"
  echo "own tables."
  echo
  echo '```'
  awk '
    /^== / { name = substr($0, 4); print; next }
    name == "" { next }  # the build before the first benchmark
    /^PERF\|/ { next }
    name ~ /^bench_/ { if ($0 ~ /^ratio / || $0 ~ /^runaway search/ || $0 ~ /step limit/ || $0 ~ /^(search|find):/) print; next }
    { print }' "$output"
  echo '```'
} >"$report"
echo "wrote $report"
