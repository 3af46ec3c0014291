#!/usr/bin/env bash
# Runs the Windows suites under Wine, after building build-win/ (every target,
# the window included, through scripts/build-windows.sh) and the Linux pieces
# they are checked against in build/ (tvunit, tvcalc, tvprog, tvcalc's tests):
#   1. the cross-built unit tests of every room, through ctest;
#   2. tvcalc.exe against the Linux tvcalc over the tvcalc tests' cases;
#   3. the serial component against tvunit on COM1;
#   4. the window's device cases against tvunit on COM1, offscreen;
#   5. the window's look and keyboard on Wine's own display at 96, 120 and 144
#      dpi (scripts/test-windows-look.sh);
#   6. tvprog.exe write against tvunit on COM1;
#   7. tvcalc.exe and tvprog.exe with a Japanese file name and full-width
#      digits, to files and on a console.
# Prints each stage's result and ends with "N passed, N failed"; exits non-zero
# on any failure.
#
#   scripts/test-windows.sh
#
# Environment: TVCONFIG_WINEPREFIX (default build-win/wineprefix) and what
# scripts/build-windows.sh reads.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
passed=0
failed=0
count() {  # a stage's log, whose last such line ends "P passed, F failed"
  local line
  line=$(grep -E '[0-9]+ passed, [0-9]+ failed$' "$1" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  local p f
  p=$(sed -E 's/.* ([0-9]+) passed, ([0-9]+) failed$/\1/' <<<"$line")
  f=$(sed -E 's/.* ([0-9]+) passed, ([0-9]+) failed$/\2/' <<<"$line")
  passed=$((passed + p)); failed=$((failed + f))
}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

echo "=== Windows build (build-win/) and its Linux counterparts (build/) ==="
if ! TVCONFIG_WIN_APP=1 scripts/build-windows.sh all >"$logs/build.log" 2>&1; then
  tail -n 60 "$logs/build.log"
  echo "0 passed, 1 failed"
  exit 1
fi
if ! { [ -f build/CMakeCache.txt ] || cmake -S . -B build -DTV_WERROR=ON; } >"$logs/native.log" 2>&1 ||
   ! nice cmake --build build -j2 --target tvunit tvcalc tvprog test_tvcalc test_tvcalc_decode \
       >>"$logs/native.log" 2>&1; then
  tail -n 60 "$logs/native.log"
  echo "0 passed, 1 failed"
  exit 1
fi

# One persistent server for every stage (each program then starts in a tenth of
# a second), stopped at the end; the first program starts Wine's services,
# which must not hold ctest's output.
. scripts/lib/wine_server.sh
trap 'wine_server_release; rm -rf "$logs"' EXIT
if ! wine_server_start "${TVCONFIG_WINEPREFIX:-$root/build-win/wineprefix}"; then
  echo "0 passed, 1 failed"
  exit 1
fi
export TVCONFIG_WINEPREFIX=$WINEPREFIX
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

echo "=== unit tests under Wine (ctest) ==="
ctest --test-dir build-win --output-on-failure 2>&1 |
  tee "$logs/ctest.log"
p=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$logs/ctest.log")
f=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*|Failed|Not Run|Timeout)' "$logs/ctest.log")
grep -q '100% tests passed' "$logs/ctest.log" || f=$((f > 0 ? f : 1))
passed=$((passed + p)); failed=$((failed + f))

for stage in tests/windows/compare-tvcalc tests/windows/run-serial-under-wine \
             tests/windows/run-window-under-wine scripts/test-windows-look \
             tests/windows/run-tvprog-under-wine tests/windows/run-unicode-under-wine; do
  stage_name=$(basename "$stage")
  echo "=== $stage_name ==="
  $stage.sh 2>&1 | tee "$logs/$stage_name.log"
  rc=${PIPESTATUS[0]}
  before=$failed
  count "$logs/$stage_name.log"
  # A stage that fails is counted as a failure even when its last line is not.
  [ "$rc" -eq 0 ] || [ "$failed" -gt "$before" ] || failed=$((failed + 1))
done

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
