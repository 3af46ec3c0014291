#!/usr/bin/env bash
# Compares tvcalc.exe under Wine with the Linux tvcalc, byte for byte, over
# every argument list the tvcalc tests use: the Linux test programs run once
# with TVCALC_CASE_LOG set and write their lists out (tests/tvcalc/case_log.h);
# each list then runs through both programs, and standard output, standard
# error and the exit status must be the same.
#
#   tests/windows/compare-tvcalc.sh
#
# Needs build-win/ (scripts/build-windows.sh) and the native build in build/
# (its tvcalc and tvcalc tests are built here). TVCONFIG_WINEPREFIX chooses
# the Wine prefix (default build-win/wineprefix), made and started here when
# the caller has not.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
win=$root/build-win
native=$root/build
exe=$win/tools/tvcalc/tvcalc.exe
[ -f "$exe" ] || { echo "compare-tvcalc.sh: $exe is missing; run scripts/build-windows.sh" >&2; exit 1; }

[ -f "$native/CMakeCache.txt" ] || cmake -S "$root" -B "$native" -DTV_WERROR=ON >/dev/null
nice cmake --build "$native" -j2 --target tvcalc test_tvcalc test_tvcalc_decode >/dev/null

source "$root/scripts/lib/wine_server.sh"
work=$(mktemp -d)
trap 'wine_server_release; rm -rf "$work"' EXIT
wine_server_start "${TVCONFIG_WINEPREFIX:-$win/wineprefix}"
# The tests' own verdict belongs to the Linux suites; here they only list
# their cases (and leave the header the decode cases read in $work).
for t in tests/tvcalc/test_tvcalc tests/tvcalc/test_tvcalc_decode; do
  TVCALC_CASE_LOG=$work/cases.tsv TEST_TMPDIR=$work/ "$native/$t" >/dev/null 2>&1 || true
done
[ -s "$work/cases.tsv" ] || { echo "compare-tvcalc.sh: the tests listed no case" >&2; exit 1; }

passed=0
failed=0
cd "$work"
while IFS=$'\t' read -r -a args; do
  "$native/tools/tvcalc/tvcalc" "${args[@]}" >linux.out 2>linux.err </dev/null && linux=0 || linux=$?
  wine "$exe" "${args[@]}" >wine.out 2>wine.err </dev/null && windows=0 || windows=$?
  differs=()
  cmp -s linux.out wine.out || differs+=(stdout)
  cmp -s linux.err wine.err || differs+=(stderr)
  [ "$linux" = "$windows" ] || differs+=("exit $linux/$windows")
  if [ ${#differs[@]} -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL tvcalc ${args[*]}: ${differs[*]} differ"
    for stream in out err; do
      cmp -s "linux.$stream" "wine.$stream" ||
        diff <(od -c "linux.$stream") <(od -c "wine.$stream") | head -n 6 || true
    done
  fi
done <"$work/cases.tsv"
echo "tvcalc.exe against tvcalc, cases identical: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
