#!/usr/bin/env bash
# Fails when any tracked C or C++ file differs from what clang-format 14 makes of
# it with the repository's .clang-format; lists the files to reformat.
set -uo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format) || {
    echo "clang-format 14 is not installed: run scripts/install-deps.sh" >&2
    exit 1
}
if ! "$format" --version | grep -q 'version 14\.'; then
    echo "$format is not clang-format 14: install clang-format-14" >&2
    exit 1
fi
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.c')
bad=()
for f in "${files[@]}"; do
    "$format" --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -ne 0 ]; then
    echo "not formatted (run: $format -i <file>):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "format: ${#files[@]} files as clang-format makes them"
