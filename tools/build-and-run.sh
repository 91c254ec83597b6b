#!/usr/bin/env bash
# Installs what is missing, builds Velkaro and the virtual printer, starts the printer on
# 127.0.0.1:9100 in the background and the window connected to it; the printer stops when the
# window closes. With --alone only the window starts, as it always did.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target velkaro velkaro-printer
if [[ "${1:-}" == "--alone" ]]; then
  exec ./build/velkaro
fi

log=$(mktemp)
./build/velkaro-printer --listen 127.0.0.1:9100 --language zpl --language epl --language cpcl \
  2> >(tee "$log" >&2) &
printer=$!
trap 'kill "$printer" 2>/dev/null || true; wait "$printer" 2>/dev/null || true; rm -f "$log"' EXIT
# Wait until the printer listens, or has given up because the port is taken.
for _ in $(seq 50); do
  grep -q "listening on" "$log" && break
  if ! kill -0 "$printer" 2>/dev/null; then
    echo "build-and-run: 127.0.0.1:9100 is taken, so no virtual printer was started;" \
      "the window connects to whatever listens there." >&2
    break
  fi
  sleep 0.1
done
./build/velkaro --tcp 127.0.0.1:9100 --open
