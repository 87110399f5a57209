#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Needs root (apt-get). Safe to run again: it does nothing when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config dpkg-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev
  wine wine64 xvfb xauth fonts-wqy-zenhei
  googletest libgtest-dev
  clang libclang-rt-14-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  binutils-mingw-w64-x86-64
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "[packages] all present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "[packages] missing: ${missing[*]}" >&2
  echo "[packages] run as root (apt-get install) or install them yourself" >&2
  exit 1
fi

echo "[packages] installing ${#missing[@]} packages (a minute or two): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "[packages] done"
