# Sourced by the runs under Wine against tvunit: builds what the Linux side
# needs (tvunit, the line shim), starts the Wine prefix's persistent server
# (scripts/lib/wine_server.sh) with COM1 mapped to a fixed link that each
# started unit points at its terminal, and stops the unit again. After
# sourcing: $root, $win, $work (removed at exit), $shim, $com1 (the link) and
# the functions start_unit and stop_unit.
#
# Needs build-win/ (scripts/build-windows.sh); tvunit comes from the native
# build in build/ (configured and built here when missing).
# TVCONFIG_WINEPREFIX chooses the Wine prefix (default build-win/wineprefix).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
win=$root/build-win
native=$root/build

tvunit=$native/tools/tvunit/tvunit
if [ ! -x "$tvunit" ]; then
  [ -f "$native/CMakeCache.txt" ] || cmake -S "$root" -B "$native" -DTV_WERROR=ON >/dev/null
  nice cmake --build "$native" -j2 --target tvunit >/dev/null
fi

shim=$win/tiocm_shim.so
if [ ! -f "$shim" ] || [ "$root/tests/windows/tiocm_shim.c" -nt "$shim" ]; then
  gcc -shared -fPIC -O2 -Wall -Wextra -o "$shim" "$root/tests/windows/tiocm_shim.c" -ldl
fi

source "$root/scripts/lib/wine_server.sh"
# The DLLs of Qt and of the compiler's runtime, for the programs that use them.
wine_dll_path "$win"

work=$(mktemp -d)
unit_pid=""
stop_unit() {
  if [ -n "$unit_pid" ]; then
    kill "$unit_pid" 2>/dev/null || true
    wait "$unit_pid" 2>/dev/null || true
  fi
  unit_pid=""
}
trap 'stop_unit; wine_server_release; rm -rf "$work"' EXIT
wine_server_start "${TVCONFIG_WINEPREFIX:-$win/wineprefix}"

# COM1 is a link of this prefix's own; the mapping takes effect when the
# server starts, so start a fresh one. Its first program starts Wine's
# services, which must not hold our output. COM15 leads to the same unit: a
# number above the twelve, as Windows gives a USB adapter.
com1=$WINEPREFIX/tvunit-com1
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$com1" /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Wine\Ports' /v COM15 /d "$com1" /f >/dev/null 2>&1
wine_server_restart
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

# start_unit LOG [tvunit options...]: a unit on COM1 logging its bytes to LOG.
start_unit() {
  local log=$1
  shift
  stop_unit
  rm -f "$log" "$work/unit.out"
  "$tvunit" --link "$com1" --log "$log" "$@" >"$work/unit.out" &
  unit_pid=$!
  for _ in $(seq 50); do [ -s "$work/unit.out" ] && return 0; sleep 0.1; done
  echo "wine_unit.sh: tvunit gave no terminal" >&2
  return 1
}

# check WHAT COMMAND...: one line "ok" or "FAIL" for a command that must succeed,
# counted in $passed and $failed for the run's closing line.
passed=0
failed=0
check() {  # what, then a command that must succeed
  local what=$1
  shift
  if "$@"; then
    echo "ok   $what"; passed=$((passed + 1))
  else
    echo "FAIL $what"; failed=$((failed + 1))
  fi
}
