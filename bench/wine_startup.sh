#!/usr/bin/env bash
# The Windows server's own part of a start under Wine, measured inside the
# server by its probe (bench_probe.h), with the log off and on: from the
# process's creation to WinMain (Wine's loader), to the class object
# registered, and the first call from its arrival to its answer. A client
# (roundtrip_client.exe once) makes each start through COM, as a script's
# CreateObject does. The time between registering and the first call is
# Wine's activation polling for the class object (about a second) and is
# not the server's; the server's own part is the time to registration plus
# the first call's own time.
#
#   bench/wine_startup.sh [starts per setting, default 7]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine/common.sh
source "$here/wine/common.sh"

starts=${1:-7}
bench_setup || exit 1

# field <line> <name>: the value of name=value in a probe line.
field() { sed -n "s/.*\<$2=\([-0-9.]*\).*/\1/p" <<<"$1"; }

declare -A result
for log in 0 1; do
  bench_install "log$log" "$BENCH_EXE_EX" "$log" || exit 1
  # The first start after registering is not counted: it meets a cold file
  # cache for the freshly copied executable.
  e2e_timed "$E2E_RUN" 120 wine roundtrip_client.exe once >"$E2E_RUN/start-warm-$log.out" 2>&1
  bench_wait_server_end || exit 1
  : >"$E2E_RUN/starts-$log.txt"
  for ((i = 1; i <= starts; i++)); do
    bench_probe_file "start-$log-$i"
    e2e_timed "$E2E_RUN" 120 env VELKORA_BENCH_PROBE="$BENCH_PROBE_WIN" \
      wine roundtrip_client.exe once >"$E2E_RUN/start-$log-$i.out" 2>&1 ||
      { bench_log "start $i (log $log) failed"; sed 's/^/  | /' "$E2E_RUN/start-$log-$i.out" >&2; exit 1; }
    bench_wait_server_end || exit 1
    line=$(grep -m1 '^main_ms=' "$BENCH_PROBE" | tr -d '\r')
    [[ -n $line ]] || { bench_log "start $i (log $log): the probe wrote nothing"; exit 1; }
    echo "$(field "$line" main_ms) $(field "$line" registered_ms) $(field "$line" first_call_own_ms)" \
      >>"$E2E_RUN/starts-$log.txt"
  done
  if [[ $log == 1 && ! -s $BENCH_APP_DIR/velkora.log ]]; then
    bench_log "the log was not written with SchreibeLog=1"; exit 1
  fi
  for k in 1 2 3; do
    result[$log,$k]=$(cut -d' ' -f"$k" "$E2E_RUN/starts-$log.txt" | bench_median)
  done
  result[$log,own]=$(awk -v a="${result[$log,2]}" -v b="${result[$log,3]}" 'BEGIN { printf "%.2f\n", a + b }')
done

echo "the server's own start under Wine, median of $starts starts (ms from the process's creation)"
printf '%-44s %9s %9s\n' "" "log off" "log on"
printf '%-44s %9.2f %9.2f\n' "creation to WinMain (Wine's loader)" "${result[0,1]}" "${result[1,1]}"
printf '%-44s %9.2f %9.2f\n' "creation to class object registered" "${result[0,2]}" "${result[1,2]}"
printf '%-44s %9.2f %9.2f\n' "first call, arrival to answer" "${result[0,3]}" "${result[1,3]}"
printf '%-44s %9.2f %9.2f\n' "own part: registered + first call" "${result[0,own]}" "${result[1,own]}"
echo "PERF|server start under Wine to class object registered, log off|${result[0,2]} ms|aim|50 ms|$(bench_ratio "${result[0,2]}" 50)|50 ms or less"
echo "PERF|server start under Wine, own part to first call answered, log off|${result[0,own]} ms|aim|50 ms|$(bench_ratio "${result[0,own]}" 50)|50 ms or less"
echo "PERF|server start under Wine, own part to first call answered, log on|${result[1,own]} ms|the same, log off|${result[0,own]} ms|$(bench_ratio "${result[1,own]}" "${result[0,own]}")|50 ms or less"
echo "PERF|server start under Wine: creation to WinMain (Wine's loader, part of the above)|${result[0,1]} ms|aim|50 ms|$(bench_ratio "${result[0,1]}" 50)|"
echo "ratio own start, log on/log off = $(bench_ratio "${result[1,own]}" "${result[0,own]}")"
echo "ratio own start (log off)/50 ms = $(bench_ratio "${result[0,own]}" 50)"
