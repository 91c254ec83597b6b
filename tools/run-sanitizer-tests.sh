#!/usr/bin/env bash
# Builds the Qt-free core (ports, readers, writers) and runs its tests under ThreadSanitizer,
# then under AddressSanitizer with UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

run() {
  local name=$1 flags=$2
  cmake -S . -B "build-$name" -DVELKARO_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="$flags -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
  cmake --build "build-$name" -j"$(nproc)"
  ctest --test-dir "build-$name" --output-on-failure -j2
}

TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run tsan "-fsanitize=thread"
ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1" \
  run asan "-fsanitize=address,undefined -fno-sanitize-recover=undefined"
