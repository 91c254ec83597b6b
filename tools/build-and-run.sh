#!/usr/bin/env bash
# Installs what is missing, builds Velkaro and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target velkaro
exec ./build/velkaro
