#!/usr/bin/env bash
# The private Wine environment the program runs and is tested in.
#   wine-session.sh start   create the prefix if needed, start Xvfb when there is no DISPLAY
#   wine-session.sh stop    stop the Xvfb and the wineserver that start started
#   wine-session.sh env     print the environment (shell assignments) for running programs
# State lives under QUORVIN_WINE_DIR (default: build/wine beside this script's repository).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
state=${QUORVIN_WINE_DIR:-$root/build/wine}
prefix=$state/prefix
wine=/usr/lib/wine/wine64
mkdir -p "$state"

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Chinese faces that the window asks for, mapped onto a CJK font from Debian. Tahoma, which
# the default GUI font becomes, reaches SimSun through Wine's font links.
write_font_settings() {
  local reg=$state/fonts.reg
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"SimSun"="WenQuanYi Zen Hei"' '"宋体"="WenQuanYi Zen Hei"' \
    '"SimHei"="WenQuanYi Zen Hei"' '"黑体"="WenQuanYi Zen Hei"' \
    '"Microsoft YaHei"="WenQuanYi Zen Hei"' '' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  "$wine" regedit "$reg" >/dev/null 2>&1 9>&-
}

ensure_prefix() {
  [ -f "$prefix/.quorvin-ready" ] && return 0
  echo "[wine] creating the Wine prefix (10-20 s)…"
  rm -rf "$prefix"
  "$wine" wineboot -i >/dev/null 2>&1 9>&-
  write_font_settings
  /usr/lib/wine/wineserver -w 9>&- || true
  touch "$prefix/.quorvin-ready"
  echo "[wine] prefix ready: $prefix"
}

xvfb_alive() {
  [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

start_xvfb() {
  xvfb_alive && return 0
  local n
  for n in $(seq 91 160); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -ac >"$state/xvfb.log" 2>&1 </dev/null 9>&- &
    local pid=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      echo "$pid" >"$state/xvfb.pid"
      echo ":$n" >"$state/display"
      return 0
    fi
  done
  echo "[wine] could not start Xvfb (see $state/xvfb.log)" >&2
  return 1
}

case ${1:-} in
  start)
    exec 9>"$state/lock"; flock 9
    ensure_prefix
    if [ -z "${DISPLAY:-}" ]; then start_xvfb; fi
    ;;
  stop)
    exec 9>"$state/lock"; flock 9
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    if xvfb_alive; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$state/xvfb.pid" "$state/display"
    ;;
  env)
    echo "export WINEPREFIX='$prefix' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='"
    if [ -z "${DISPLAY:-}" ] && xvfb_alive; then echo "export DISPLAY='$(cat "$state/display")'"; fi
    ;;
  *)
    echo "usage: $0 start|stop|env" >&2; exit 2 ;;
esac
