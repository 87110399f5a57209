#!/usr/bin/env bash
# Builds the image libraries the program links statically (libjpeg-turbo, libpng)
# for one MinGW-w64 target, from Debian's own source packages so that Debian's
# security patches come along. zlib comes from Debian's libz-mingw-w64-dev.
#
# Usage: scripts/build-deps.sh [--refresh] ARCH PREFIX
#   ARCH     x86_64 or i686
#   PREFIX   install prefix, e.g. build/deps/x86_64 (pass it to CMake as
#            -DQUORVIN_DEPS_PREFIX=PREFIX)
#   --refresh  download the Debian sources again (picks up e.g. a security
#            upload) instead of reusing the ones already downloaded
#
# Sources are downloaded once into build/deps/src and shared by both arches;
# work trees and logs live under build/deps too. Running it again with nothing
# changed only compares a stamp file in PREFIX and exits.
set -euo pipefail

refresh=0
if [ "${1:-}" = "--refresh" ]; then refresh=1; shift; fi
if [ $# -ne 2 ]; then
  echo "usage: $0 [--refresh] x86_64|i686 PREFIX" >&2
  exit 2
fi
arch=$1
case "$arch" in
  x86_64|i686) ;;
  *) echo "[deps] unknown arch '$arch' (want x86_64 or i686)" >&2; exit 2 ;;
esac
prefix=$(realpath -m -- "$2")

self=$(realpath -- "${BASH_SOURCE[0]}")
repo=$(dirname "$(dirname "$self")")
toolchain=$repo/cmake/toolchain-mingw-$arch.cmake
triplet=$arch-w64-mingw32
sysroot=/usr/$triplet
deps=$repo/build/deps
srcroot=$deps/src
logdir=$deps/log
stamp=$prefix/.deps-stamp
packages=(libjpeg-turbo libpng1.6)

mkdir -p "$deps" "$logdir"
export LC_ALL=C.UTF-8 TZ=UTC

die() { echo "[deps] $*" >&2; exit 1; }

# Runs a command with its output going to a log; on failure shows the log's end.
run_logged() {
  local log=$1; shift
  if ! "$@" >>"$log" 2>&1; then
    echo "[deps] failed: $*" >&2
    echo "[deps] last lines of $log:" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

[ -f "$toolchain" ] || die "missing toolchain file $toolchain"
compgen -c "$triplet-gcc" >/dev/null || die "$triplet-gcc not found (run scripts/install-packages.sh)"
[ -f "$sysroot/lib/libz.a" ] || die "$sysroot/lib/libz.a not found (libz-mingw-w64-dev)"

# What the stamp must match: the source versions, the arch, the MinGW compiler,
# runtime and zlib packages, and this script and the toolchain file (which
# picks the compiler variant and shapes the flags).
wanted_stamp() {
  cat "$srcroot/sources.lock"
  echo "arch $arch"
  dpkg-query -W -f='${Package} ${Version}\n' gcc-mingw-w64-base mingw-w64-common \
    "binutils-mingw-w64-${arch/_/-}" libz-mingw-w64-dev 2>/dev/null || true
  echo "script $(sha256sum <"$self" | cut -d' ' -f1)"
  echo "toolchain $(sha256sum <"$toolchain" | cut -d' ' -f1)"
}

if [ $refresh -eq 0 ] && [ -f "$stamp" ] && [ -f "$srcroot/sources.lock" ] \
   && [ "$(cat "$stamp")" = "$(wanted_stamp)" ]; then
  echo "[deps] $arch: up to date"
  exit 0
fi

# One run at a time per arch; the shared source download has its own lock below.
exec 8>"$deps/.lock-$arch"
flock 8

# ---------------------------------------------------------------- sources

# True when some enabled apt source already serves source packages.
have_deb_src() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && grep -Eq '^[[:space:]]*deb-src[[:space:]]' "$f" && return 0
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # A deb822 paragraph whose Types include deb-src and that is not disabled.
    awk 'BEGIN{RS=""; found=0}
         { src=0; off=0
           n=split($0, l, "\n")
           for (i=1;i<=n;i++) {
             if (tolower(l[i]) ~ /^types:/ && l[i] ~ /deb-src/) src=1
             if (tolower(l[i]) ~ /^enabled:[ \t]*no/) off=1
           }
           if (src && !off) found=1 }
         END{exit found?0:1}' "$f" && return 0
  done
  return 1
}

# Writes deb-src paragraphs mirroring the deb entries (deb822 and one-line
# format) so apt can fetch the sources of exactly what we install from.
write_deb_src() {
  local out=/etc/apt/sources.list.d/debian-src.sources tmp f
  tmp=$(mktemp)
  echo "# Source packages, mirroring the binary entries (added by scripts/build-deps.sh)." >"$tmp"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$out" ] || continue
    # Copies URIs, Suites, Components and Signed-By (with continuation lines,
    # as Signed-By may hold an inline key) of each enabled deb paragraph.
    awk 'function flush() {
           if (isdeb && !off && body != "") printf "\nTypes: deb-src\n%s", body
           isdeb=0; off=0; body=""; keep=0 }
         /^[ \t]*#/ { next }
         /^[ \t]*$/ { flush(); next }
         /^[ \t]/ { if (keep) body = body $0 "\n"; next }
         { field=tolower($0); sub(/:.*/, "", field); keep=0
           if (field == "types") { isdeb = ($0 ~ /[: \t]deb([ \t]|$)/) }
           else if (field == "enabled") { if (tolower($0) ~ /:[ \t]*no/) off=1 }
           else if (field == "uris" || field == "suites" || field == "components" || field == "signed-by") {
             keep=1; body = body $0 "\n" } }
         END { flush() }' "$f" >>"$tmp"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    # deb [opts] URI SUITE COMPONENT...
    awk '$1 != "deb" { next }
         { i=2; signed=""
           if ($2 ~ /^\[/) {
             for (; i<=NF; i++) {
               o=$i; gsub(/[\[\]]/, "", o)
               if (o ~ /^signed-by=/) { sub(/^signed-by=/, "", o); signed=o }
               if ($i ~ /\]$/) { i++; break }
             }
           }
           printf "\nTypes: deb-src\nURIs: %s\nSuites: %s\n", $i, $(i+1)
           comps=""; for (j=i+2; j<=NF; j++) comps = comps (comps==""?"":" ") $j
           if (comps != "") printf "Components: %s\n", comps
           if (signed != "") printf "Signed-By: %s\n", signed }' "$f" >>"$tmp"
  done
  grep -q '^Types: deb-src' "$tmp" || { rm -f "$tmp"; die "no deb entry found in apt sources to mirror"; }
  install -m 0644 "$tmp" "$out"
  rm -f "$tmp"
}

apt_opts=(-o APT::Sandbox::User=root -o Dpkg::Use-Pty=0)

apt_updated=0
apt_update() {
  echo "[deps] updating apt's source index…"
  run_logged "$logdir/apt.log" apt-get "${apt_opts[@]}" update
  apt_updated=1
}

ensure_deb_src() {
  local p
  if ! have_deb_src; then
    write_deb_src
    apt_update
    return
  fi
  # The entry may exist with its index never downloaded.
  for p in "${packages[@]}"; do
    if [ -z "$(apt-cache showsrc "$p" 2>/dev/null | head -n1)" ]; then
      apt_update
      return
    fi
  done
}

# Checks that dpkg-source applied every quilt patch of the package in $1.
check_patched() {
  local dir=$1 series
  grep -q quilt "$dir/debian/source/format" 2>/dev/null || return 0
  series=$dir/debian/patches/series
  [ -f "$series" ] || return 0
  diff -q <(sed -e 's/[[:space:]]*#.*//' -e '/^[[:space:]]*$/d' "$series" | awk '{print $1}') \
          "$dir/.pc/applied-patches" >/dev/null 2>&1 \
    || die "Debian patches were not applied in $dir (see $logdir/apt.log)"
}

# Source versions apt knows for package $1, newest first (dpkg's ordering).
src_versions() {
  local list=() v i
  while read -r v; do
    for ((i = 0; i < ${#list[@]}; i++)); do
      dpkg --compare-versions "$v" gt "${list[i]}" && break
    done
    list=("${list[@]:0:i}" "$v" "${list[@]:i}")
  done < <(apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -u)
  [ ${#list[@]} -eq 0 ] || printf '%s\n' "${list[@]}"
}

# Downloads and unpacks package $1 into directory $2, newest version first; an
# older one is used (with a warning) only if the newest cannot be downloaded,
# e.g. from a mirror that lags behind the security archive.
fetch_one() {
  local p=$1 dir=$2 v first=""
  for v in $(src_versions "$p"); do
    [ -n "$first" ] || first=$v
    if (cd "$dir" && apt-get "${apt_opts[@]}" -q source "$p=$v") >>"$logdir/apt.log" 2>&1; then
      [ "$v" = "$first" ] || echo "[deps] warning: $p $first could not be downloaded (see $logdir/apt.log); using $v" >&2
      return 0
    fi
    rm -rf "$dir/${p}_"* "$dir/${p}-"*
  done
  return 1
}

fetch_sources() {
  command -v dpkg-source >/dev/null || die "dpkg-source not found (dpkg-dev; run scripts/install-packages.sh)"
  echo "[deps] fetching Debian sources…"
  ensure_deb_src
  local tmp=$srcroot.tmp dsc p ver src dir
  rm -rf "$tmp"; mkdir -p "$tmp"
  : >"$logdir/apt.log"
  for p in "${packages[@]}"; do
    fetch_one "$p" "$tmp" && continue
    # A stale index names files the archive no longer has: refresh it once.
    if [ $apt_updated -eq 0 ]; then apt_update; fetch_one "$p" "$tmp" && continue; fi
    tail -n 40 "$logdir/apt.log" >&2
    die "could not download the source of $p"
  done
  : >"$tmp/sources.lock"
  for p in "${packages[@]}"; do
    dsc=$(ls "$tmp"/"${p}"_*.dsc 2>/dev/null | head -n1)
    [ -n "$dsc" ] || die "no .dsc for $p after apt-get source"
    ver=$(sed -n 's/^Version: //p' "$dsc" | head -n1)
    src=${ver#*:}; src=${src%-*}             # upstream version: no epoch, no revision
    dir=$p-$src
    [ -d "$tmp/$dir" ] || die "apt-get source did not unpack $dir"
    check_patched "$tmp/$dir"
    echo "$p $ver $dir" >>"$tmp/sources.lock"
  done
  flock -x 9
  rm -rf "$srcroot"
  mv "$tmp" "$srcroot"
  flock -u 9
}

# Lock 7 lets one run download at a time; lock 9 is held shared while building
# from the sources and exclusive only to swap in new ones, so parallel runs for
# the two arches download once and then build side by side.
exec 7>"$deps/.lock-fetch" 9>"$deps/.lock-src"
# --refresh downloads again: cheap (a few MB), and picks up a new Debian upload.
if [ $refresh -eq 1 ] || [ ! -f "$srcroot/sources.lock" ]; then
  flock -x 7
  if [ $refresh -eq 1 ] || [ ! -f "$srcroot/sources.lock" ]; then
    fetch_sources
  fi
  flock -u 7
fi
flock -s 9

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(wanted_stamp)" ]; then
  echo "[deps] $arch: up to date"
  exit 0
fi

# Look up what was fetched: "NAME VERSION DIR".
src_dir() { awk -v p="$1" '$1==p {print $3}' "$srcroot/sources.lock"; }
src_ver() { awk -v p="$1" '$1==p {v=$2; sub(/^[0-9]+:/, "", v); sub(/-[^-]*$/, "", v); print v}' "$srcroot/sources.lock"; }

# ---------------------------------------------------------------- build

if command -v ninja >/dev/null; then generator=(-G Ninja); else generator=(-G "Unix Makefiles"); fi
jobs=$(nproc 2>/dev/null || echo 2)
work=$deps/work-$arch

# configure-build-install one CMake project; extra args go to the configure step.
build_one() {
  local name=$1 src=$2 log=$3; shift 3
  local bld=$work/$name
  # Maps both trees to relative names so no build path lands in the objects.
  local cflags="-ffile-prefix-map=$src=. -ffile-prefix-map=$bld=build"
  rm -rf "$bld"; mkdir -p "$bld"
  : >"$log"
  # No build dates in the output: CMake's string(TIMESTAMP) honours this.
  SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$src/debian/changelog" -STimestamp 2>/dev/null || echo 0)
  export SOURCE_DATE_EPOCH
  # Typed, so CMake does not turn the relative LIBDIR into one under the cwd.
  run_logged "$log" cmake -S "$src" -B "$bld" "${generator[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_INSTALL_LIBDIR:PATH=lib \
    -DCMAKE_C_FLAGS="$cflags" \
    -DCMAKE_C_ARCHIVE_CREATE="<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>" \
    -DCMAKE_C_ARCHIVE_APPEND="<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>" \
    -DCMAKE_C_ARCHIVE_FINISH="<CMAKE_RANLIB> -D <TARGET>" \
    "$@"
  run_logged "$log" cmake --build "$bld" -j "$jobs"
  run_logged "$log" cmake --install "$bld"
}

rm -f "$stamp"
mkdir -p "$prefix"
cd "$deps"

jpeg_src=$srcroot/$(src_dir libjpeg-turbo)
echo "[deps] building libjpeg-turbo $(src_ver libjpeg-turbo) for $arch…"
build_one libjpeg-turbo "$jpeg_src" "$logdir/$arch-libjpeg-turbo.log" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
  -DBUILD="$(date -u -d "@$(dpkg-parsechangelog -l "$jpeg_src/debian/changelog" -STimestamp)" +%Y%m%d)"

png_src=$srcroot/$(src_dir libpng1.6)
echo "[deps] building libpng $(src_ver libpng1.6) for $arch…"
# zlib given explicitly: FindZLIB would pick the import library libz.dll.a and
# the result would need zlib1.dll at run time.
build_one libpng "$png_src" "$logdir/$arch-libpng.log" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_HARDWARE_OPTIMIZATIONS=ON -DPNG_FRAMEWORK=OFF \
  -DZLIB_LIBRARY="$sysroot/lib/libz.a" -DZLIB_INCLUDE_DIR="$sysroot/include"

wanted_stamp >"$stamp"
echo "[deps] $arch: done, installed in $prefix (logs in $logdir)"
