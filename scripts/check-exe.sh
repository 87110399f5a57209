#!/usr/bin/env bash
# Prints what a user would want to know of the executable before trusting it: its SHA-256,
# its size and the DLLs it needs. Fails when it needs any DLL that Windows does not ship.
set -euo pipefail
exe=$1
objdump=x86_64-w64-mingw32-objdump
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort -u)
echo "[exe] $(basename "$exe"): $(stat -c %s "$exe") bytes, sha256 $(sha256sum "$exe" | cut -d' ' -f1)"
echo "[exe] imports: $(echo $dlls)"
bad=$(echo "$dlls" | grep -viE '^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|comctl32|winmm|ole32|uxtheme)\.dll$|^api-ms-win-' || true)
if [ -n "$bad" ]; then
  echo "[exe] needs DLLs that are not part of Windows: $bad" >&2
  exit 1
fi

# Texts are UTF-16 throughout: no ANSI (…A) entry points of the windowing and drawing DLLs,
# which would garble Chinese texts on systems whose code page is not 936.
ansi=$("$objdump" -p "$exe" | awk '
  /DLL Name:/ { dll = toupper($3); next }
  (dll == "USER32.DLL" || dll == "GDI32.DLL" || dll == "COMCTL32.DLL") && NF >= 3 && $NF ~ /[a-z]A$/ { print dll ": " $NF }')
if [ -n "$ansi" ]; then
  echo "[exe] imports ANSI functions: $ansi" >&2
  exit 1
fi
echo "[exe] no ANSI imports from user32, gdi32 or comctl32"
