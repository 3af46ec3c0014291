#!/usr/bin/env bash
# Fuzzes the settings-file reader and the header reader with libFuzzer, SECONDS
# in all (default 20), split between the two, each starting from its seed
# corpus. New inputs go to scratch folders, not into the repository. Any crash or
# sanitizer report fails it.
set -euo pipefail
seconds=${1:-20}
here=$(cd "$(dirname "$0")/.." && pwd)
CC=clang CXX=clang++ cmake -S "$here/fuzz" -B "$here/build-fuzz" >/dev/null
cmake --build "$here/build-fuzz" -j"$(nproc)" >/dev/null
share=$(((seconds + 1) / 2))
status=0
for target in profile_fuzzer:corpus header_fuzzer:header_corpus; do
  name=${target%%:*}
  corpus=$here/fuzz/${target#*:}
  scratch=$(mktemp -d)
  echo "$name ($share s):"
  (cd "$scratch" && "$here/build-fuzz/$name" -max_total_time="$share" -print_final_stats=1 \
    "$scratch" "$corpus" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true)
  # libFuzzer exits non-zero on a finding, but the grep above swallows that:
  # look for the artefact it leaves instead.
  if ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* >/dev/null 2>&1; then
    echo "$name found a failing input:"
    ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* 2>/dev/null
    status=1
  fi
  rm -rf "$scratch"
done
exit "$status"
