#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time: FUZZ_SECONDS (default 20) per target. A crash leaves its
# input in build-fuzz/crashes/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-20}
build=build-fuzz
cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"

mkdir -p "$build/crashes"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
while read -r name; do
  [ -n "$name" ] || continue
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  log="$build/$name.log"
  echo "== $name: ${seconds} s"
  if ! "$build/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$build/crashes/$name-" "$corpus" "${seeds[@]}" \
      >"$log" 2>&1; then
    cat "$log"
    exit 1
  fi
  grep -E "^(Done|stat::number_of_executed_units|stat::new_units_added)" "$log" || true
done <"$build/fuzzers.txt"
