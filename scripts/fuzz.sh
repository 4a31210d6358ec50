#!/usr/bin/env bash
# scripts/fuzz.sh SECONDS: builds the fuzz preset (clang, libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every fuzz target
# for SECONDS each, starting from the inputs kept in fuzz/regressions/<target>/
# (earlier findings, run first) and the seeds in fuzz/corpus/<target>/, with
# the dictionary fuzz/<target>.dict where there is one. An input that takes
# longer than 10 s counts as a finding (a hang). Exits non-zero when a target
# finds a crash or a hang.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
build=build/fuzz
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzz_all -j "$(nproc)"

status=0
for target in "$build"/fuzz/fuzz_*; do
  [[ -x "$target" && -f "$target" ]] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus" "$build/artifacts/$name"
  seeds=()
  [[ -d fuzz/regressions/$name ]] && seeds+=("fuzz/regressions/$name")
  [[ -d fuzz/corpus/$name ]] && seeds+=("fuzz/corpus/$name")
  options=()
  [[ -f fuzz/$name.dict ]] && options+=("-dict=fuzz/$name.dict")
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
      "${options[@]}" -artifact_prefix="$build/artifacts/$name/" "$corpus" "${seeds[@]}" \
      2>"$build/$name.log"; then
    tail -n 40 "$build/$name.log"
    echo "$name: crash or hang, input saved under $build/artifacts/$name/" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$name.log" | tail -n 2 || true
  fi
done
exit $status
