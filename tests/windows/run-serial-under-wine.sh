#!/usr/bin/env bash
# Runs the cross-built wine_serial_echo.exe under Wine against tvunit on COM1,
# with the line shim preloaded so DTR and RTS work on its terminal and their
# changes are logged (wine_unit.sh). Checks what the program reports, the
# bytes tvunit received and the line changes.
#
#   tests/windows/run-serial-under-wine.sh
set -euo pipefail
source "$(dirname "$0")/wine_unit.sh"
exe=$win/tests/windows/wine_serial_echo.exe
[ -f "$exe" ] || { echo "run-serial-under-wine.sh: $exe is missing; run scripts/build-windows.sh" >&2; exit 1; }

start_unit "$work/unit.log"
status=0
LD_PRELOAD=$shim TVCONFIG_TIOCM_LOG=$work/lines.log wine "$exe" com1 </dev/null || status=$?
stop_unit

passed=0
failed=0
expect() {  # file, text, what
  if grep -qx "$2" "$1" 2>/dev/null; then
    echo "ok   $3"; passed=$((passed + 1))
  else
    echo "FAIL $3"; failed=$((failed + 1))
  fi
}
expect <(echo "$status") 0 "wine_serial_echo.exe exits 0"
for b in 55 AA 0D 33; do expect "$work/unit.log" "[0-9]* RX $b" "tvunit received $b"; done
expect "$work/lines.log" "DTR 1" "DTR raised on the line"
expect "$work/lines.log" "RTS 1" "RTS raised on the line"
expect "$work/lines.log" "DTR 0" "DTR dropped on the line"
expect "$work/lines.log" "RTS 0" "RTS dropped on the line"
echo "serial component against tvunit on COM1: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
