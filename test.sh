#!/usr/bin/env bash
# Checks the format of every C and C++ file and the links of the Markdown
# documents, builds tvconfig and runs every test: the whole suite in a normal
# build, a check of the Debian package, the Windows build's suites and installer
# under Wine, the suite again under AddressSanitizer + UndefinedBehaviorSanitizer,
# everything but the window under ThreadSanitizer, and a short libFuzzer run of
# the settings-file and header readers.
# Installs missing Debian packages first. Any failure or sanitizer report fails it.
set -uo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh || exit 1

jobs=$(nproc)
passed=0
failed=0
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

echo "=== format and links ==="
docs_ok=1
scripts/check-format.sh || docs_ok=0
scripts/check-links.sh || docs_ok=0
if [ $docs_ok -eq 1 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

# run_suite NAME BUILD_DIR [cmake options...]
run_suite() {
  local name=$1 dir=$2
  shift 2
  echo "=== $name ==="
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

run_suite "normal build" build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "=== Debian package ==="
if scripts/check-package.sh build; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

# The Windows programs, cross-built into build-win/ and run under Wine; they are
# compared with the Linux build above, so they come after it.
echo "=== Windows suites under Wine ==="
scripts/test-windows.sh 2>&1 | tee build-win.test.log
win_rc=${PIPESTATUS[0]}
win_line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' build-win.test.log | tail -n 1)
if [ -n "$win_line" ]; then
  passed=$((passed + ${win_line%% *}))
  win_failed=${win_line#*, }; win_failed=${win_failed%% *}
  failed=$((failed + win_failed))
fi
if [ "$win_rc" -ne 0 ] && [ "${win_failed:-0}" -eq 0 ]; then failed=$((failed + 1)); fi
echo "=== Windows installer under Wine ==="
if scripts/test-windows-package.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

run_suite "AddressSanitizer + UndefinedBehaviorSanitizer" build-asan \
  -DCMAKE_BUILD_TYPE=Debug -DTV_SANITIZE=address,undefined -DTV_BUILD_BENCH=OFF
run_suite "ThreadSanitizer (no window)" build-tsan \
  -DCMAKE_BUILD_TYPE=Debug -DTV_SANITIZE=thread -DTV_BUILD_APP=OFF -DTV_BUILD_BENCH=OFF

echo "=== libFuzzer: settings-file and header readers (20 s) ==="
if scripts/fuzz.sh 20; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
