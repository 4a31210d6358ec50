#!/usr/bin/env bash
# What one script call of the Windows server costs under Wine, in one run:
#   - VBScript (and JScript) calling VelkoraVersion in a loop against
#     velkora.exe, which answers IDispatchEx, and against the same server
#     built without it (velkora_plain_dispatch.exe), rounds taken in turn;
#   - a native client's bare IDispatch::Invoke, the floor of a remote call;
#   - the same loop as a script author writes it in JScript
#     (jscript_loop.js: new ActiveXObject, the result unused);
#   - the remote calls the server's apartment saw per script call (its
#     probe, bench_probe.h): four without IDispatchEx, two with it;
#   - what the COM runtime does per JScript call in both processes, counted
#     in a trace (WINEDEBUG=+ole,+rpc) of a short and a longer loop: remote
#     calls in either direction (the probe sees only those into the server)
#     and RPC connections opened.
# Prints the medians, their ratios and PERF lines for scripts/perf-report.sh.
#
#   bench/wine_roundtrip.sh [calls per loop, default 400] [rounds, default 3]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine/common.sh
source "$here/wine/common.sh"

calls=${1:-400}
rounds=${2:-3}
bench_setup || exit 1
cp "$bench_src/roundtrip.vbs" "$bench_src/roundtrip.js" "$bench_src/jscript_loop.js" "$E2E_RUN/"

# run_loop <variant> <script> <round>: one loop; appends "ms_per_call
# remote_calls_per_call" to $E2E_RUN/<variant>-<script>.txt.
run_loop() {
  local variant=$1 script=$2 round=$3 out ms incoming
  out=$E2E_RUN/$variant-$script-$round.out
  bench_probe_file "$variant-$script-$round"
  e2e_timed "$E2E_RUN" 300 env VELKORA_BENCH_PROBE="$BENCH_PROBE_WIN" \
    wine cscript //nologo "$script" "$calls" >"$out" 2>&1
  ms=$(tr -d '\r' <"$out" | sed -n "s/^LOOP calls=$calls ms=\([0-9]*\)$/\1/p")
  [[ -n $ms ]] || { bench_log "$variant $script: no result line"; sed 's/^/  | /' "$out" >&2; return 1; }
  bench_wait_server_end || return 1
  incoming=$(sed -n 's/^incoming_calls=//p' "$BENCH_PROBE" | tail -n 1)
  # The loop's calls plus the first one; creating the object adds a few
  # remote calls, which spread over the loop.
  awk -v ms="$ms" -v n="$calls" -v k="${incoming:-0}" \
    'BEGIN { printf "%.4f %.2f\n", ms / n, k / (n + 1) }' >>"$E2E_RUN/$variant-$script.txt"
}

rm -f "$E2E_RUN"/*-roundtrip.*.txt "$E2E_RUN"/*-jscript_loop.js.txt
# A first, untimed script run of the session: Wine's services start then.
bench_install plain "$BENCH_EXE_PLAIN" 0 || exit 1
e2e_timed "$E2E_RUN" 120 wine cscript //nologo roundtrip.vbs 5 >"$E2E_RUN/warm.out" 2>&1
bench_wait_server_end || exit 1

for ((round = 1; round <= rounds; round++)); do
  for variant in plain ex; do
    if [[ $variant == plain ]]; then exe=$BENCH_EXE_PLAIN; else exe=$BENCH_EXE_EX; fi
    bench_install "$variant" "$exe" 0 || exit 1
    for script in roundtrip.vbs roundtrip.js jscript_loop.js; do
      run_loop "$variant" "$script" "$round" || exit 1
    done
  done
done

# trace_counts <variant> <script> <calls>: one loop under a trace of both
# processes; prints "remote_calls connections_opened".
trace_counts() {
  local variant=$1 script=$2 n=$3 trace=$E2E_RUN/trace-$1-$2-$3.txt
  e2e_timed "$E2E_RUN" 300 env WINEDEBUG=+ole,+rpc wine cscript //nologo "$script" "$n" \
    >"$E2E_RUN/trace-$variant-$script-$n.out" 2>"$trace"
  bench_wait_server_end || return 1
  printf '%s %s\n' "$(grep -c 'ClientRpcChannelBuffer_SendReceive .*iMethod' "$trace")" \
    "$(grep -c 'rpcrt4_conn_open_pipe' "$trace")"
  rm -f "$trace"
}

# per_call_counts <variant> <script>: the difference of a 25-call and a
# 5-call loop over 20: "remote_calls connections" per call.
per_call_counts() {
  local short long
  short=$(trace_counts "$1" "$2" 5) || return 1
  long=$(trace_counts "$1" "$2" 25) || return 1
  awk -v s="$short" -v l="$long" 'BEGIN { split(s, a, " "); split(l, b, " ");
    printf "%.2f %.2f\n", (b[1] - a[1]) / 20, (b[2] - a[2]) / 20 }'
}

declare -A traced
for variant in plain ex; do
  if [[ $variant == plain ]]; then exe=$BENCH_EXE_PLAIN; else exe=$BENCH_EXE_EX; fi
  bench_install "$variant" "$exe" 0 || exit 1
  for script in roundtrip.vbs jscript_loop.js; do
    traced[$variant-$script]=$(per_call_counts "$variant" "$script") || exit 1
  done
done

# The floor: the server with IDispatchEx registered last.
invoke_ms=()
for ((round = 1; round <= rounds; round++)); do
  out=$E2E_RUN/invoke-$round.out
  e2e_timed "$E2E_RUN" 300 wine roundtrip_client.exe invoke "$calls" >"$out" 2>&1
  ms=$(tr -d '\r' <"$out" | sed -n "s/^INVOKE calls=$calls ms=\([0-9.]*\)$/\1/p")
  [[ -n $ms ]] || { bench_log "native client: no result line"; sed 's/^/  | /' "$out" >&2; exit 1; }
  bench_wait_server_end || exit 1
  invoke_ms+=("$(awk -v ms="$ms" -v n="$calls" 'BEGIN { printf "%.4f\n", ms / n }')")
done

median_of() { cut -d' ' -f"$2" "$E2E_RUN/$1.txt" | bench_median; }
vbs_plain=$(median_of plain-roundtrip.vbs 1)
vbs_ex=$(median_of ex-roundtrip.vbs 1)
js_plain=$(median_of plain-roundtrip.js 1)
js_ex=$(median_of ex-roundtrip.js 1)
trips_vbs_plain=$(median_of plain-roundtrip.vbs 2)
trips_vbs_ex=$(median_of ex-roundtrip.vbs 2)
trips_js_plain=$(median_of plain-roundtrip.js 2)
trips_js_ex=$(median_of ex-roundtrip.js 2)
js_loop_plain=$(median_of plain-jscript_loop.js 1)
js_loop_ex=$(median_of ex-jscript_loop.js 1)
trips_js_loop_plain=$(median_of plain-jscript_loop.js 2)
trips_js_loop_ex=$(median_of ex-jscript_loop.js 2)
floor=$(printf '%s\n' "${invoke_ms[@]}" | bench_median)

echo "one script call of VelkoraVersion under Wine, $calls calls per loop, median of $rounds rounds"
printf '%-34s %8s %16s\n' "" "ms/call" "remote calls/call"
printf '%-34s %8.3f %16s\n' "VBScript, without IDispatchEx" "$vbs_plain" "$trips_vbs_plain"
printf '%-34s %8.3f %16s\n' "VBScript, with IDispatchEx" "$vbs_ex" "$trips_vbs_ex"
printf '%-34s %8.3f %16s\n' "JScript, without IDispatchEx" "$js_plain" "$trips_js_plain"
printf '%-34s %8.3f %16s\n' "JScript, with IDispatchEx" "$js_ex" "$trips_js_ex"
printf '%-34s %8.3f %16s\n' "JScript loop, without IDispatchEx" "$js_loop_plain" "$trips_js_loop_plain"
printf '%-34s %8.3f %16s\n' "JScript loop, with IDispatchEx" "$js_loop_ex" "$trips_js_loop_ex"
printf '%-34s %8.3f %16s\n' "native client, bare Invoke (floor)" "$floor" "1"
echo "traced per script call (20 calls): remote calls in either direction, RPC connections opened"
for key in plain-roundtrip.vbs ex-roundtrip.vbs plain-jscript_loop.js ex-jscript_loop.js; do
  printf '%-34s %s\n' "$key" "${traced[$key]}"
done
# Each round's figure, to show the spread on a busy machine.
for f in plain-roundtrip.vbs ex-roundtrip.vbs plain-roundtrip.js ex-roundtrip.js \
  plain-jscript_loop.js ex-jscript_loop.js; do
  echo "rounds $f (ms/call): $(cut -d' ' -f1 "$E2E_RUN/$f.txt" | tr '\n' ' ')"
done
echo "rounds native Invoke (ms/call): ${invoke_ms[*]}"
r_vbs=$(bench_ratio "$vbs_ex" "$vbs_plain")
r_js=$(bench_ratio "$js_ex" "$js_plain")
r_floor=$(bench_ratio "$vbs_ex" "$floor")
r_trips=$(bench_ratio "$trips_vbs_ex" "$trips_vbs_plain")
echo "PERF|VBScript call under Wine, server with IDispatchEx|$vbs_ex ms|the same server without IDispatchEx|$vbs_plain ms|$r_vbs|0.6 or less"
echo "PERF|remote calls per VBScript call, with IDispatchEx|$trips_vbs_ex|without IDispatchEx|$trips_vbs_plain|$r_trips|2 against 4"
echo "PERF|JScript call under Wine, server with IDispatchEx|$js_ex ms|the same server without IDispatchEx|$js_plain ms|$r_js|"
echo "PERF|VBScript call under Wine, server with IDispatchEx|$vbs_ex ms|native client's bare Invoke (floor)|$floor ms|$r_floor|"
r_js_loop=$(bench_ratio "$js_loop_ex" "$js_loop_plain")
r_js_floor=$(bench_ratio "$js_loop_ex" "$floor")
js_traced_ex=${traced[ex-jscript_loop.js]%% *}
js_traced_plain=${traced[plain-jscript_loop.js]%% *}
r_js_traced=$(bench_ratio "$js_traced_ex" "$js_traced_plain")
echo "PERF|JScript loop under Wine (new ActiveXObject, result unused), with IDispatchEx|$js_loop_ex ms|native client's bare Invoke (floor)|$floor ms|$r_js_floor|"
echo "PERF|JScript loop under Wine, with IDispatchEx|$js_loop_ex ms|the same server without IDispatchEx|$js_loop_plain ms|$r_js_loop|1 or less"
echo "PERF|remote calls per JScript call, traced in both processes, with IDispatchEx|$js_traced_ex|without IDispatchEx|$js_traced_plain|$r_js_traced|2 or less"
echo "ratio JScript loop with IDispatchEx/native Invoke = $r_js_floor"
echo "ratio JScript loop with/without IDispatchEx = $r_js_loop"
echo "ratio JScript with/without IDispatchEx = $r_js"
echo "ratio VBScript with IDispatchEx/native Invoke = $r_floor"
echo "ratio VBScript with/without IDispatchEx = $r_vbs"
