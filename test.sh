#!/usr/bin/env bash
# Checks the format of every C and C++ file, that every include points down the
# rooms and that the links of the Markdown documents resolve, builds tvconfig and runs every test: the whole suite in a normal
# build, a check of the Debian package, the Windows build's suites and
# installer under Wine, the suite again under AddressSanitizer +
# UndefinedBehaviorSanitizer, everything but the window under ThreadSanitizer,
# and a short libFuzzer run of the settings-file and header readers.
# Installs missing Debian packages first. Any failure or sanitizer report fails it.
# Prints each stage's time as it ends and the total before the closing line.
#
#   ./test.sh          everything (what CI runs)
#   ./test.sh quick    the format, room and link checks and the normal build's suite only
set -uo pipefail
cd "$(dirname "$0")"
mode=${1:-all}
case $mode in
  all | quick) ;;
  *) echo "usage: ./test.sh [quick]" >&2; exit 2 ;;
esac

jobs=$(nproc)
passed=0
failed=0
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

# duration SECONDS: "7 s" or "3 min 05 s"
duration() {
  if [ "$1" -lt 60 ]; then echo "$1 s"; else printf '%d min %02d s\n' $(($1 / 60)) $(($1 % 60)); fi
}
# stage NAME COMMAND...: runs one stage under its heading and prints its time
# when it ends; returns the command's status.
stage() {
  local name=$1 began=$SECONDS status=0
  shift
  echo "=== $name ==="
  "$@" || status=$?
  echo "--- $name: $(duration $((SECONDS - began)))"
  return "$status"
}
# counted COMMAND...: one check, counted as one pass or one failure.
counted() {
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

stage "missing Debian packages" scripts/install-deps.sh || exit 1

checks() {
  counted scripts/check-format.sh
  counted scripts/check-rooms.sh
  counted scripts/check-links.sh
}
stage "format, rooms and links" checks

# run_suite BUILD_DIR [cmake options...]
run_suite() {
  local dir=$1
  shift
  if ! cmake -S . -B "$dir" -DTV_WERROR=ON "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; failed=$((failed + 1)); return
  fi
  if ! cmake --build "$dir" -j"$jobs" >"$dir.build.log" 2>&1; then
    tail -n 60 "$dir.build.log"; failed=$((failed + 1)); return
  fi
  local log="$dir.ctest.log"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" 2>&1 | tee "$log"
  local p f
  p=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$log")
  f=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*|Failed|Not Run|Timeout)' "$log")
  if ! grep -q '100% tests passed' "$log"; then f=$((f > 0 ? f : 1)); fi
  passed=$((passed + p)); failed=$((failed + f))
}

# The Windows programs, cross-built into build-win/ and run under Wine; they are
# compared with the Linux build, so they come after it.
windows_suites() {
  scripts/test-windows.sh 2>&1 | tee build-win.test.log
  local rc=${PIPESTATUS[0]} line win_failed=0
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' build-win.test.log | tail -n 1)
  if [ -n "$line" ]; then
    passed=$((passed + ${line%% *}))
    win_failed=${line#*, }; win_failed=${win_failed%% *}
    failed=$((failed + win_failed))
  fi
  if [ "$rc" -ne 0 ] && [ "$win_failed" -eq 0 ]; then failed=$((failed + 1)); fi
}

stage "normal build" run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "$mode" = all ]; then
  stage "Debian package" counted scripts/check-package.sh build
  stage "Windows suites under Wine" windows_suites
  stage "Windows installer under Wine" counted scripts/test-windows-package.sh
  stage "AddressSanitizer + UndefinedBehaviorSanitizer" run_suite build-asan \
    -DCMAKE_BUILD_TYPE=Debug -DTV_SANITIZE=address,undefined -DTV_BUILD_BENCH=OFF
  stage "ThreadSanitizer (no window)" run_suite build-tsan \
    -DCMAKE_BUILD_TYPE=Debug -DTV_SANITIZE=thread -DTV_BUILD_APP=OFF -DTV_BUILD_BENCH=OFF
  stage "libFuzzer: settings-file and header readers (20 s)" counted scripts/fuzz.sh 20
fi

echo
echo "--- total: $(duration "$SECONDS")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
