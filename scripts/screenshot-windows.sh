#!/usr/bin/env bash
# Regenerates docs/window-wine.png: the cross-built tvconfig.exe (from the
# package folder in build-win/) under Wine on a virtual X display, in a Wine
# desktop that draws the title bar, com1 on tvunit's pseudo-terminal, after a
# click on "search".
#
#   scripts/screenshot-windows.sh
#
# Needs scripts/build-windows.sh run first and the native tvunit in build/;
# installs Xvfb, xdotool and ImageMagick when they are missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/packages.sh"
. "$root/scripts/lib/wine_server.sh"
ensure_packages xvfb xauth xdotool imagemagick wine wine64 gcc
win=$root/build-win
exe=$(ls "$win"/package/tvconfig-*-win64/tvconfig.exe)
[ -f "$win/tiocm_shim.so" ] ||  # DTR and RTS on a pseudo-terminal (tests/windows)
  gcc -shared -fPIC -O2 -o "$win/tiocm_shim.so" "$root/tests/windows/tiocm_shim.c" -ldl
work=$(mktemp -d)
pids=()
cleanup() {
  wine_server_release
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
wine_server_start "${TVCONFIG_WINEPREFIX:-$win/wineprefix}"
"$root/build/tools/tvunit/tvunit" --log "$work/unit.log" >"$work/unit.out" &
pids+=($!)
display=:57
Xvfb $display -screen 0 1024x768x24 >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY=$display
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$(head -n1 "$work/unit.out")" /f >/dev/null 2>&1
wine_server_restart  # the mapping and the display take effect at a server's start
mkdir "$work/current"
(cd "$work/current" && LD_PRELOAD=$win/tiocm_shim.so wine explorer /desktop=tvconfig,1024x768 "$exe" \
  >/dev/null 2>&1 &)
sleep 8
# The window sits where the program moves it (200, 98): "search" is at 289, 467.
xdotool mousemove 289 467 click 1
sleep 2
import -window root "$work/screen.png"
convert "$work/screen.png" -crop 570x472+196+98 +repage "$root/docs/window-wine.png"
echo "Wrote $root/docs/window-wine.png"
