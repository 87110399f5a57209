#!/usr/bin/env bash
# Sets up everything (packages, libraries, Wine) and runs every test:
# the native build with sanitizers and fuzzers, the Windows x86-64 build under Wine,
# and a compile of the Windows x86 build.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
cd "$root"
start=$(date +%s)
step() { echo "[test] $* ($(( $(date +%s) - start )) s)"; }

"$here/install-packages.sh"
step "libraries for Windows"
"$here/build-deps.sh" x86_64 "$root/build/deps/x86_64"
"$here/build-deps.sh" i686 "$root/build/deps/i686"

werror=-DQUORVIN_WARNINGS_AS_ERRORS=ON

step "native build"
cmake --preset native $werror >/dev/null
cmake --build --preset native
step "native tests"
ctest --preset native

step "Windows x86 build (compile only)"
cmake --preset mingw-i686 $werror >/dev/null
cmake --build --preset mingw-i686

step "Windows x86-64 build"
cmake --preset mingw $werror >/dev/null
cmake --build --preset mingw
"$here/check-exe.sh" "$root/build/mingw/bin/QuorvinClicker.exe"

step "Windows tests under Wine"
trap '"$here/wine-session.sh" stop' EXIT
"$here/wine-session.sh" start
ctest --preset mingw
step "all tests passed"
