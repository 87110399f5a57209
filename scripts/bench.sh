#!/usr/bin/env bash
# Sets up everything (packages, libraries, Wine), builds the program and the baselines, and runs
# the benchmark on a private Xvfb (it moves the pointer and presses F7, so never on a desktop).
# Prints the table and leaves results.md, results.json and cadence.png in build/mingw/bench-results.
#   scripts/bench.sh [--quick] [--cycles N]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
cd "$root"

"$here/install-packages.sh"
"$here/build-deps.sh" x86_64 "$root/build/deps/x86_64"
echo "[bench] building…"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target quorvin_bench >/dev/null

unset DISPLAY
export QUORVIN_WINE_DIR=${QUORVIN_WINE_DIR:-$root/build/wine}
trap '"$here/wine-session.sh" stop' EXIT
"$here/wine-session.sh" start
out=$root/build/mingw/bench-results
mkdir -p "$out"
cd "$out"
"$here/wine-run.sh" "$root/build/mingw/bin/quorvin_bench.exe" --out . "$@"
echo "[bench] results: $out/results.md, results.json, cadence.png"
