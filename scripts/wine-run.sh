#!/usr/bin/env bash
# Runs a Windows program under the project's Wine session; CMake's cross-compiling emulator.
# Starts the session on first use (the prefix, and Xvfb when there is no DISPLAY).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$here/wine-session.sh" start
eval "$("$here/wine-session.sh" env)"
exec /usr/lib/wine/wine64 "$@"
