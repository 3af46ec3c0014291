#!/usr/bin/env bash
# Fuzzes the settings-file reader for SECONDS (default 20) with libFuzzer, starting
# from the seed corpus. New inputs go to a scratch folder, not into the repository.
# Any crash or sanitizer report fails it.
set -euo pipefail
seconds=${1:-20}
here=$(cd "$(dirname "$0")/.." && pwd)
CC=clang CXX=clang++ cmake -S "$here/fuzz" -B "$here/build-fuzz" >/dev/null
cmake --build "$here/build-fuzz" -j"$(nproc)" >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
"$here/build-fuzz/profile_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
  "$scratch" "$here/fuzz/corpus" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true
# libFuzzer exits non-zero on a finding; pipefail carries it, but the grep above
# swallows it, so look for the crash artefact as well.
if ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* >/dev/null 2>&1; then
  echo "fuzzer found a failing input:"; ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* 2>/dev/null
  exit 1
fi
