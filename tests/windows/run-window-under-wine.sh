#!/usr/bin/env bash
# Runs the Windows build of the window's device cases (wine_device_window_tests)
# under Wine on Qt's offscreen platform, one case at a time, each against a
# fresh tvunit on COM1 (wine_unit.sh) with the fault options the case needs.
# The case reads tvunit's byte log and the line shim's DTR/RTS log through
# Wine's Z: drive. A case still running after two minutes is stopped and fails.
#
#   tests/windows/run-window-under-wine.sh
set -euo pipefail
source "$(dirname "$0")/wine_unit.sh"
exe=$win/tests/windows/wine_device_window_tests.exe
[ -f "$exe" ] || { echo "run-window-under-wine.sh: $exe is missing; run scripts/build-windows.sh" >&2; exit 1; }

declare -A unit_options=([ASilentUnitEndsTheWriteWithAMessage]=--silent
                         [AHangUpDuringAWriteClosesThePort]="--hangup-after 60")

passed=0
failed=0
for name in $(wine "$exe" --gtest_list_tests </dev/null | tr -d '\r' | sed -n 's/^  //p'); do
  start_unit "$work/unit.log" ${unit_options[$name]:-}
  rm -f "$work/lines.log"
  if LD_PRELOAD=$shim TVCONFIG_TIOCM_LOG=$work/lines.log \
     TVCONFIG_TEST_UNIT_LOG="Z:$work/unit.log" TVCONFIG_TEST_LINE_LOG="Z:$work/lines.log" \
     timeout -k 5 120 wine "$exe" --gtest_filter="WineDeviceTest.$name" -platform offscreen \
       </dev/null >"$work/case.out" 2>&1; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    tr -d '\r' <"$work/case.out" | grep -v '^\[ *\(RUN\|==========\|----------\) *\]' | head -n 40
  fi
  stop_unit
done
echo "window against tvunit on COM1: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
