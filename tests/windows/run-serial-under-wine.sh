#!/usr/bin/env bash
# Runs the cross-built wine_serial_echo.exe under Wine against tvunit: tvunit's
# pseudo-terminal becomes COM1 through Wine's registry, and the line shim is
# preloaded so DTR and RTS work on it and their changes are logged. Checks
# what the program reports, the bytes tvunit received and the line changes.
#
#   tests/windows/run-serial-under-wine.sh
#
# Needs build-win/ (scripts/build-windows.sh) and the native tvunit in build/
# (built here when missing). TVCONFIG_WINEPREFIX chooses the Wine prefix
# (default build-win/wineprefix, made on first use).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
win=$root/build-win
native=$root/build
exe=$win/tests/windows/wine_serial_echo.exe
[ -x "$exe" ] || { echo "run-serial-under-wine.sh: $exe is missing; run scripts/build-windows.sh" >&2; exit 1; }

tvunit=$native/tools/tvunit/tvunit
if [ ! -x "$tvunit" ]; then
  [ -f "$native/CMakeCache.txt" ] || cmake -S "$root" -B "$native" -DTV_BUILD_APP=OFF >/dev/null
  nice cmake --build "$native" -j2 --target tvunit >/dev/null
fi

shim=$win/tiocm_shim.so
if [ ! -f "$shim" ] || [ "$root/tests/windows/tiocm_shim.c" -nt "$shim" ]; then
  gcc -shared -fPIC -O2 -Wall -Wextra -o "$shim" "$root/tests/windows/tiocm_shim.c" -ldl
fi

export WINEPREFIX=${TVCONFIG_WINEPREFIX:-$win/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1

work=$(mktemp -d)
unit_pid=""
cleanup() {
  [ -n "$unit_pid" ] && kill "$unit_pid" 2>/dev/null && wait "$unit_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$tvunit" --log "$work/unit.log" >"$work/unit.out" &
unit_pid=$!
for _ in $(seq 50); do [ -s "$work/unit.out" ] && break; sleep 0.1; done
pty=$(head -n1 "$work/unit.out")
[ -n "$pty" ] || { echo "run-serial-under-wine.sh: tvunit gave no terminal" >&2; exit 1; }

# The mapping takes effect when the server starts, so start a fresh one; the
# first program then starts Wine's services, which must not hold our output.
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$pty" /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p 300 >/dev/null 2>&1 || true  # already running: fine
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

status=0
LD_PRELOAD=$shim TVCONFIG_TIOCM_LOG=$work/lines.log wine "$exe" com1 </dev/null || status=$?

expect() {  # file, text, what
  if grep -qx "$2" "$1" 2>/dev/null; then echo "ok   $3"; else echo "FAIL $3"; status=1; fi
}
for b in 55 AA 0D 33; do expect "$work/unit.log" "[0-9]* RX $b" "tvunit received $b"; done
expect "$work/lines.log" "DTR 1" "DTR raised on the line"
expect "$work/lines.log" "RTS 1" "RTS raised on the line"
expect "$work/lines.log" "DTR 0" "DTR dropped on the line"
expect "$work/lines.log" "RTS 0" "RTS dropped on the line"
exit $status
