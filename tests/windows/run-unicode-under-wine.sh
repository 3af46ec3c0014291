#!/usr/bin/env bash
# tvcalc.exe and tvprog.exe under Wine with arguments that are no ASCII: a
# Japanese file name and full-width digits must reach them as the Linux
# programs see them, and what they write must read the same on a console and
# be the same UTF-8 bytes in a file. Compared against the Linux tvcalc and
# tvprog, whose output is the reference.
#
#   tests/windows/run-unicode-under-wine.sh
#
# Wine takes the Unix arguments as UTF-8 only under a UTF-8 locale; in the C
# locale they would arrive as question marks before the program is reached.
# A console is a pseudo-terminal made by script(1); Wine's console on it
# writes spaces as cursor moves, so the console's text is compared without
# escapes and blanks.
set -euo pipefail
source "$(dirname "$0")/wine_unit.sh"
source "$root/scripts/lib/packages.sh"
ensure_packages bsdutils  # script(1)
export LANG=C.UTF-8 LC_ALL=C.UTF-8
calc_exe=$win/tools/tvcalc/tvcalc.exe
prog_exe=$win/tools/tvprog/tvprog.exe
for exe in "$calc_exe" "$prog_exe"; do
  [ -f "$exe" ] || { echo "run-unicode-under-wine.sh: $exe is missing; run scripts/build-windows.sh" >&2; exit 1; }
done
for t in tvcalc tvprog; do
  [ -x "$native/tools/$t/$t" ] || nice cmake --build "$native" -j2 --target $t >/dev/null
done
calc=$native/tools/tvcalc/tvcalc
prog=$native/tools/tvprog/tvprog

cd "$work"
# The export of the header tests, its words cut to the 24 bits a latch takes.
header=設定①.h
sed -E 's/^  0x[0-9A-F]{2}/  0x00/' "$root/tests/device/data/header_2359.txt" >"$header"
missing=無い①.h


# same_as_linux WHAT ARGS...: tvcalc.exe's standard output, standard error and
# exit status, redirected to files, are byte for byte the Linux tvcalc's.
same_as_linux() {
  local what=$1
  shift
  local linux=0 windows=0
  "$calc" "$@" >linux.out 2>linux.err </dev/null || linux=$?
  wine "$calc_exe" "$@" >wine.out 2>wine.err </dev/null || windows=$?
  check "$what: exit $windows as on Linux ($linux)" test "$windows" = "$linux"
  check "$what: the same standard output" cmp -s linux.out wine.out
  check "$what: the same standard error" cmp -s linux.err wine.err
}
same_as_linux "--decode-header $header" --decode-header "$header"
check "--decode-header $header decodes the channels" grep -q '^ch0 ' linux.out
same_as_linux "--decode-header $missing" --decode-header "$missing"
check "--decode-header $missing names the file" grep -qF "cannot read $missing:" linux.err
same_as_linux "full-width digits" １２３４０ 10 10
check "full-width digits are refused as no number" grep -qF "'１２３４０' は" linux.err

# console TEXT-FILE COMMAND...: COMMAND's output on a console, as text.
console() {
  local out=$1
  shift
  local status=0
  # Wide enough that no line wraps on the console.
  script -qec "stty cols 300; $(printf '%q ' "$@")" /dev/null </dev/null >"$out.raw" || status=$?
  sed -E 's/\x1b\[[0-9;?]*[A-Za-z]//g; s/\x1b\][^\x07]*\x07//g' "$out.raw" | tr -d ' \r' >"$out"
  return "$status"
}
bare() { tr -d ' \r' <"$1"; }
console calc.tty wine "$calc_exe" --decode-header "$missing" || true
"$calc" --decode-header "$missing" >/dev/null 2>linux.err || true
check "tvcalc.exe's Japanese message reads right on a console" grep -qxF "$(bare linux.err)" calc.tty
console calc.tty wine "$calc_exe" --decode-header "$header" || true
"$calc" --decode-header "$header" >linux.out
check "tvcalc.exe's decoded header reads right on a console" \
  cmp -s <(bare linux.out) <(grep -v '^$' calc.tty)

start_unit "$work/linux.log"
"$prog" write --port "$com1" "$header" >/dev/null
start_unit "$work/wine.log"
status=0
wine "$prog_exe" write --port com1 "$header" </dev/null >wine.out 2>&1 || status=$?
start_unit "$work/tty.log"
tty_status=0
console prog.tty wine "$prog_exe" write --port com1 "$header" || tty_status=$?
stop_unit
received() { sed -n 's/^[0-9]* RX //p' "$1"; }
check "tvprog.exe write $header exits 0 (got $status)" test "$status" -eq 0
check "tvprog.exe write $header: the same bytes as from the Linux tvprog" \
  cmp -s <(received linux.log) <(received wine.log)
check "tvprog.exe write on a console exits 0 (got $tty_status)" test "$tty_status" -eq 0
check "tvprog.exe draws its progress bar on a console" \
  grep -qF "[########################################]130/130bytes" prog.tty
check "tvprog.exe reports the write on a console" grep -qF "wrote130of130bytes" prog.tty
console prog.tty wine "$prog_exe" write --port com1 "$missing" || true
"$prog" write --port com1 "$missing" >/dev/null 2>linux.err || true
check "tvprog.exe's Japanese message reads right on a console" grep -qxF "$(bare linux.err)" prog.tty

[ "$failed" -eq 0 ] || { tr -d '\r' <wine.out | head -n 20; head -n 20 prog.tty; }
echo "tvcalc.exe and tvprog.exe with Unicode arguments: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
