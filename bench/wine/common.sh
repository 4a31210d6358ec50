# Shell helpers of the benchmarks under Wine (wine_roundtrip.sh,
# wine_startup.sh). They run on the end-to-end harness of tests/e2e/wine
# (its prefix, wineserver and teardown) in a work folder of their own,
# build/wine-bench, and stop only what they started.

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bench_src=$bench_root/bench/wine
# shellcheck source=../../tests/e2e/wine/lib.sh
source "$bench_root/tests/e2e/wine/lib.sh"

bench_log() { printf '%s\n' "$*" >&2; }

# bench_setup: builds the two servers and the client, makes the Wine session.
bench_setup() {
  local build_log=$bench_root/build/wine-bench-build.log
  mkdir -p "$bench_root/build"
  bench_log "building velkora.exe and velkora_plain_dispatch.exe (log: $build_log)"
  "$bench_root/scripts/build-windows.sh" --target velkora velkora_plain_dispatch -j2 \
    >"$build_log" 2>&1 || { bench_log "the Windows build failed; see $build_log"; return 1; }
  BENCH_EXE_EX=$bench_root/build/mingw64/src/hosts/win32/velkora.exe
  BENCH_EXE_PLAIN=$bench_root/build/mingw64/src/hosts/win32/velkora_plain_dispatch.exe
  BENCH_WORK=$bench_root/build/wine-bench
  mkdir -p "$BENCH_WORK"
  trap 'e2e_teardown' EXIT
  trap 'exit 130' INT TERM
  e2e_setup "$BENCH_WORK" || { bench_log "the Wine session could not be made"; return 1; }
  local client=$BENCH_WORK/roundtrip_client.exe src=$bench_src/roundtrip_client.cpp
  if [[ ! -f $client || $src -nt $client ]]; then
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Werror -static -static-libgcc \
      -static-libstdc++ -o "$client" "$src" -lole32 -loleaut32 -luuid ||
      { bench_log "building the client failed"; return 1; }
  fi
  cp "$client" "$E2E_RUN/"
  local minimal=$BENCH_WORK/minimal_server.exe
  src=$bench_src/minimal_server.cpp
  if [[ ! -f $minimal || $src -nt $minimal ]]; then
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Werror -static -static-libgcc \
      -static-libstdc++ -o "$minimal" "$src" -lole32 -loleaut32 -luuid -luser32 -ladvapi32 ||
      { bench_log "building the minimal server failed"; return 1; }
  fi
  cp "$minimal" "$E2E_RUN/"
}

# bench_install <name> <exe> <SchreibeLog 0|1>: copies the server to
# C:\velkora-bench\<name>\velkora.exe with its settings and registers it
# from there. The server of the variant before must have ended.
bench_install() {
  local name=$1 exe=$2 log=$3 dir=$E2E_DRIVE_C/velkora-bench/$1
  e2e_wait_no_process 'velkora' 150 || { bench_log "a server of the run before still runs"; return 1; }
  mkdir -p "$dir"
  cp "$exe" "$dir/velkora.exe"
  printf '[Fenster]\r\nSchreibeLog=%s\r\n' "$log" >"$dir/velkora.ini"
  rm -f "$dir/velkora.log"
  e2e_timed "$dir" 60 wine velkora.exe /RegServer >"$E2E_RUN/regserver-$name.out" 2>&1 ||
    { bench_log "registering $name failed"; return 1; }
  BENCH_APP_DIR=$dir
}

# bench_probe_file <name>: a fresh probe file; its Windows path lands in
# BENCH_PROBE_WIN.
bench_probe_file() {
  BENCH_PROBE=$E2E_RUN/probe-$1.txt
  rm -f "$BENCH_PROBE"
  : >"$BENCH_PROBE"
  BENCH_PROBE_WIN=$(e2e_winpath "$BENCH_PROBE")
}

# bench_wait_server_end: the server ends about half a second after its last
# client; its probe writes its last line then.
bench_wait_server_end() {
  e2e_wait_no_process 'velkora' 150 || { bench_log "the server did not end"; return 1; }
}

# bench_median: the median of the numbers on standard input.
bench_median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# bench_ratio <a> <b>: a / b with three decimals.
bench_ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "nan"; else printf "%.3f\n", a / b }'; }
