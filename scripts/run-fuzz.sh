#!/usr/bin/env bash
# Builds every fuzz target (fuzz/fuzz_*.cpp) with clang's libFuzzer in build/fuzz and runs each for
# SECONDS seconds (default 60) over a working copy of its seed corpus fuzz/corpus/<name>/. Inputs
# that crash, leak, hang or exhaust memory are saved in fuzz/findings/; the exit status is 1 then.
# Usage: scripts/run-fuzz.sh [SECONDS]
set -euo pipefail

seconds=${1:-60}
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 [SECONDS]" >&2; exit 2; }
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/fuzz
findings=$root/fuzz/findings

targets=()
for source in "$root"/fuzz/fuzz_*.cpp; do
  [ -e "$source" ] && targets+=("$(basename "$source" .cpp)")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "run-fuzz: no fuzz targets"
  exit 0
fi

# Everything is compiled with coverage instrumentation for libFuzzer (fuzzer-no-link); the fuzz
# targets themselves add -fsanitize=fuzzer,address,undefined.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKEL_LIBFUZZER=ON -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"

mkdir -p "$findings"
status=0
summary=()
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  corpus=$build/corpus/$name
  mkdir -p "$corpus"
  if [ -d "$root/fuzz/corpus/$name" ]; then
    cp -r "$root/fuzz/corpus/$name/." "$corpus/"
  fi
  echo "run-fuzz: $target for ${seconds}s"
  before=$(find "$findings" -name "$target-*" | wc -l)
  log=$build/$target.log
  started=$(date +%s)
  if "$build/bin/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -artifact_prefix="$findings/$target-" -print_final_stats=1 "$corpus" 2>&1 | tee "$log"; then
    verdict=clean
  else
    verdict="FOUND A PROBLEM"
    status=1
  fi
  elapsed=$(($(date +%s) - started))
  # libFuzzer's final statistics give the number of inputs it ran.
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  found=$(($(find "$findings" -name "$target-*" | wc -l) - before))
  summary+=("$(printf '%-20s %12s runs %5ss %3d findings  %s' "$target" "${runs:-?}" "$elapsed" \
    "$found" "$verdict")")
done

echo "run-fuzz: summary"
printf '  %s\n' "${summary[@]}"
if [ $status -eq 0 ]; then
  echo "run-fuzz: all ${#targets[@]} targets clean"
else
  echo "run-fuzz: problems found; the inputs are in $findings" >&2
fi
exit $status
