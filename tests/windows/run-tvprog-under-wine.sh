#!/usr/bin/env bash
# tvprog.exe write under Wine against tvunit on COM1 (wine_unit.sh): the unit
# must receive, byte for byte, what it receives from the Linux tvprog writing
# the same header, and tvprog.exe must report the whole write, naming the
# Windows device; against a unit that hangs up it must report the lost line.
# The same unit is COM15 too: tvprog.exe ports must list com15 and a write
# through it arrive.
#
#   tests/windows/run-tvprog-under-wine.sh
set -euo pipefail
source "$(dirname "$0")/wine_unit.sh"
exe=$win/tools/tvprog/tvprog.exe
[ -f "$exe" ] || { echo "run-tvprog-under-wine.sh: $exe is missing; run scripts/build-windows.sh" >&2; exit 1; }
[ -x "$native/tools/tvprog/tvprog" ] || nice cmake --build "$native" -j2 --target tvprog >/dev/null
# The export of the header tests, its words cut to the 24 bits a latch takes
# (tvprog refuses wider ones); bytes 0x80 to 0xFF still go out.
header=$work/param.h
sed -E 's/^  0x[0-9A-F]{2}/  0x00/' "$root/tests/device/data/header_2359.txt" >"$header"

received() { sed -n 's/^[0-9]* RX //p' "$1"; }

start_unit "$work/linux.log"
"$native/tools/tvprog/tvprog" write --port "$com1" "$header" >/dev/null
start_unit "$work/wine.log"
status=0
wine "$exe" write --port com1 "Z:$header" </dev/null >"$work/wine.out" 2>&1 || status=$?
# A unit that hangs up mid-write: Wine's serial layer must make it a lost line,
# not a write that waits out the reply time at every byte.
start_unit "$work/hangup.log" --hangup-after 60
lost_status=0
wine "$exe" write --port com1 "Z:$header" </dev/null >"$work/hangup.out" 2>&1 || lost_status=$?
ports_status=0
wine "$exe" ports --tsv </dev/null >"$work/ports.out" 2>&1 || ports_status=$?
start_unit "$work/com15.log"
com15_status=0
wine "$exe" write --port com15 "Z:$header" </dev/null >"$work/com15.out" 2>&1 || com15_status=$?
stop_unit

check "tvprog.exe exits 0 (got $status)" test "$status" -eq 0
check "tvprog.exe reports 130 of 130 bytes" grep -q "wrote 130 of 130 bytes" "$work/wine.out"
check "tvprog.exe names the Windows device" grep -qF 'to com1 (\\.\COM1)' "$work/wine.out"
check "the unit received 130 bytes" test "$(received "$work/wine.log" | wc -l)" -eq 130
check "the same bytes as from the Linux tvprog" \
  cmp -s <(received "$work/linux.log") <(received "$work/wine.log")
check "a hang-up ends the write with status 5 (got $lost_status)" test "$lost_status" -eq 5
check "a hang-up is told as a lost line" \
  grep -qF "The line to the unit was lost; check the cable and run tvprog again." "$work/hangup.out"
check "the write stops at the byte after the hang-up" grep -q "at byte 61 of 130" "$work/hangup.out"
check "tvprog.exe ports exits 0 (got $ports_status)" test "$ports_status" -eq 0
listed() {  # port, device: a row of the ports table
  awk -F'\t' -v port="$1" -v device="$2" \
    '$1 == port && $2 == device {found = 1} END {exit !found}' "$work/ports.out"
}
check "tvprog.exe ports lists com15 as \\\\.\\COM15" listed com15 '\\\\.\\COM15'
check "tvprog.exe ports leaves com1 to the twelve" \
  test "$(grep -c '^com1	' "$work/ports.out")" -eq 0
check "tvprog.exe write --port com15 exits 0 (got $com15_status)" test "$com15_status" -eq 0
check "the same 130 bytes through com15" \
  cmp -s <(received "$work/linux.log") <(received "$work/com15.log")
[ "$failed" -eq 0 ] || cat "$work/wine.out" "$work/hangup.out" "$work/ports.out" "$work/com15.out" | tr -d '\r' | head -n 40
echo "tvprog.exe write and ports against tvunit on COM1 and COM15: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
