#!/usr/bin/env bash
# The Windows server's own part of a start under Wine, measured inside the
# server by its probe (bench_probe.h), with the log off and on. A client
# (roundtrip_client.exe once) makes each start through COM, as a script's
# CreateObject does. Reported, as medians:
#   - milliseconds from the process's creation to WinMain (Wine's loader),
#     to each step of the start, to the class object registered;
#   - the first call, from its arrival to its answer;
#   - the server's own part: WinMain to the class object registered, plus
#     the first call's own time (the time between the two is Wine's
#     activation polling for the class object, about a second: not the
#     server's).
# Baseline: minimal_server.exe, a program with the same loader and system
# DLLs that only initialises COM and registers a class object.
#
#   bench/wine_startup.sh [starts per setting, default 7]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine/common.sh
source "$here/wine/common.sh"

starts=${1:-7}
bench_setup || exit 1

steps=(main lock_taken typelib_loaded settings_read com_initialized typelib_registered
       registry_checked registered first_call_own)
# fields <line>: the values of the steps, in that order ("nan" when missing).
fields() {
  local line=$1 step value out=()
  for step in "${steps[@]}"; do
    value=$(sed -n "s/.*\<${step}_ms=\([-0-9.]*\).*/\1/p" <<<"$line")
    out+=("${value:-nan}")
  done
  echo "${out[*]}"
}
column_median() { cut -d' ' -f"$2" "$1" | bench_median; }

declare -A median
for log in 0 1; do
  bench_install "log$log" "$BENCH_EXE_EX" "$log" || exit 1
  # The first start after registering is not counted: it meets a cold file
  # cache for the freshly copied executable.
  e2e_timed "$E2E_RUN" 120 wine roundtrip_client.exe once >"$E2E_RUN/start-warm-$log.out" 2>&1
  bench_wait_server_end || exit 1
  table=$E2E_RUN/starts-$log.txt
  : >"$table"
  for ((i = 1; i <= starts; i++)); do
    bench_probe_file "start-$log-$i"
    e2e_timed "$E2E_RUN" 120 env VELKORA_BENCH_PROBE="$BENCH_PROBE_WIN" \
      wine roundtrip_client.exe once >"$E2E_RUN/start-$log-$i.out" 2>&1 ||
      { bench_log "start $i (log $log) failed"; sed 's/^/  | /' "$E2E_RUN/start-$log-$i.out" >&2; exit 1; }
    bench_wait_server_end || exit 1
    line=$(grep -m1 '^main_ms=' "$BENCH_PROBE" | tr -d '\r')
    [[ -n $line ]] || { bench_log "start $i (log $log): the probe wrote nothing"; exit 1; }
    # The own part per start: WinMain to registered, plus the first call.
    echo "$(fields "$line") $(awk -v l="$line" 'BEGIN {
        n = split(l, kv, " "); for (i = 1; i <= n; i++) { split(kv[i], p, "="); v[p[1]] = p[2] }
        printf "%.2f", v["registered_ms"] - v["main_ms"] + v["first_call_own_ms"] }')" >>"$table"
  done
  if [[ $log == 1 && ! -s $BENCH_APP_DIR/velkora.log ]]; then
    bench_log "the log was not written with SchreibeLog=1"; exit 1
  fi
  for ((k = 1; k <= ${#steps[@]} + 1; k++)); do
    median[$log,$k]=$(column_median "$table" "$k")
  done
done

minimal=$E2E_RUN/minimal.txt
: >"$minimal"
for ((i = 1; i <= starts; i++)); do
  e2e_timed "$E2E_RUN" 60 wine minimal_server.exe >"$E2E_RUN/minimal-$i.out" 2>&1
  tr -d '\r' <"$E2E_RUN/minimal-$i.out" | sed -n 's/^MINIMAL main_ms=\([0-9.]*\) com_initialized_ms=\([0-9.]*\) registered_ms=\([0-9.]*\)$/\1 \2 \3/p' >>"$minimal"
done
[[ -s $minimal ]] || { bench_log "the minimal server printed nothing"; exit 1; }
min_main=$(column_median "$minimal" 1)
min_com=$(column_median "$minimal" 2)
min_registered=$(column_median "$minimal" 3)
min_own=$(awk -v a="$min_registered" -v b="$min_main" 'BEGIN { printf "%.2f", a - b }')

own=$(( ${#steps[@]} + 1 ))
echo "the server's start under Wine, median of $starts starts, ms from the process's creation"
printf '%-42s %9s %9s %9s\n' "" "log off" "log on" "minimal"
labels=("WinMain (Wine's loader before it)" "instance lock taken" "type library loaded"
        "settings read, start logged" "COM initialised" "type library registered"
        "class registry entries checked" "class object registered" "first call, arrival to answer")
for ((k = 1; k <= ${#steps[@]}; k++)); do
  case ${steps[k-1]} in
    main) m=$min_main ;; com_initialized) m=$min_com ;; registered) m=$min_registered ;; *) m=- ;;
  esac
  printf '%-42s %9s %9s %9s\n' "${labels[k-1]}" "${median[0,$k]}" "${median[1,$k]}" "$m"
done
printf '%-42s %9s %9s %9s\n' "own part: WinMain to registered + 1st call" "${median[0,$own]}" "${median[1,$own]}" "$min_own"

reg=$(( ${#steps[@]} - 1 ))
echo "PERF|server start under Wine, creation to class object registered, log off|${median[0,$reg]} ms|a minimal COM server, same loader and DLLs|$min_registered ms|$(bench_ratio "${median[0,$reg]}" "$min_registered")|"
echo "PERF|server start under Wine, own part (WinMain to registered, plus the first call), log off|${median[0,$own]} ms|the minimal COM server's WinMain to registered|$min_own ms|$(bench_ratio "${median[0,$own]}" "$min_own")|50 ms or less"
echo "PERF|server start under Wine, own part, log on|${median[1,$own]} ms|the same, log off|${median[0,$own]} ms|$(bench_ratio "${median[1,$own]}" "${median[0,$own]}")|50 ms or less"
echo "ratio own start, log on/log off = $(bench_ratio "${median[1,$own]}" "${median[0,$own]}")"
echo "ratio own start (log off)/minimal COM server = $(bench_ratio "${median[0,$own]}" "$min_own")"
