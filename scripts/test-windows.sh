#!/usr/bin/env bash
# Runs the Windows suites under Wine: the cross-built unit tests through ctest,
# then the serial component against tvunit's pseudo-terminal mapped as COM1.
# Builds build-win/ first (scripts/build-windows.sh).
#
#   scripts/test-windows.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build-windows.sh"

export WINEPREFIX=${TVCONFIG_WINEPREFIX:-$root/build-win/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1
# A server kept alive makes each program start in a tenth of a second; the
# first program starts Wine's services, which must not hold ctest's output.
wineserver -p 300 >/dev/null 2>&1 || true  # already running: fine
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

status=0
(cd "$root/build-win" && ctest -R '^(serial_tests|serial_win32_tests)$' --output-on-failure) || status=1
TVCONFIG_WINEPREFIX=$WINEPREFIX "$root/tests/windows/run-serial-under-wine.sh" || status=1
exit $status
