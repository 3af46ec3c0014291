#!/usr/bin/env bash
# Tries the Windows installer as an operator would, under Wine: installs
# build-win/tvconfig-<version>-win64-setup.exe silently (/S), checks the
# programs, the Start-menu entry and the Add/Remove Programs entry, starts the
# installed tvconfig.exe on a virtual X display with its own Windows platform
# plugin, closes it the way Windows asks a program to close (WM_CLOSE, through
# taskkill without /F) and checks that it saved TVCONFIG.INI in its current
# folder; starts it again with com1 naming no port, closes it the same way while
# its start-up "Error" box stands and checks that it ended, saved and never showed
# the window; then uninstalls silently and checks that everything went.
#
#   scripts/test-windows-package.sh
#
# Needs the package (scripts/build-windows.sh); installs xvfb and xdotool when missing. TVCONFIG_WINEPREFIX
# chooses the Wine prefix (default build-win/wineprefix-package, made on first use:
# a prefix of its own, as on a fresh Windows, with no COM port mapped by the
# other Windows tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=$root/build-win
. "$root/scripts/lib/packages.sh"
ensure_packages xvfb xauth xdotool wine wine64
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt" 2>/dev/null || true)
setup=$win/tvconfig-$version-win64-setup.exe
[ -n "$version" ] && [ -f "$setup" ] ||
  { echo "test-windows-package.sh: no installer in $win; run scripts/build-windows.sh" >&2; exit 1; }

# The server started here is stopped at the exit, however the script ends.
. "$root/scripts/lib/wine_server.sh"
work=$(mktemp -d)
unit=""
trap '[ -z "$unit" ] || kill "$unit" 2>/dev/null; wine_server_release; rm -rf "$work"' EXIT
wine_server_start "${TVCONFIG_WINEPREFIX:-$win/wineprefix-package}"

status=0
check() {  # what, command...
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; status=1; fi
}
waitFor() {  # seconds, command...: true once the command succeeds
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.5
  done
}

dir="$WINEPREFIX/drive_c/Program Files/tvconfig"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/tvconfig/tvconfig.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\tvconfig'
registered() { wine reg query "$key" /v UninstallString >/dev/null 2>&1; }
installed() { [ -f "$dir/tvconfig.exe" ] && [ -f "$dir/platforms/qwindows.dll" ]; }

wine "$setup" /S
check "silent install: programs, DLLs and plugins in Program Files\\tvconfig" \
  bash -c "cd \"$dir\" && ls tvconfig.exe tvcalc.exe tvprog.exe Qt6Widgets.dll styles/qwindowsvistastyle.dll uninstall.exe >/dev/null"
check "Start-menu entry for tvconfig" test -f "$menu"
check "uninstaller listed under Add/Remove Programs" registered

# The window needs a display; the Wine server started for it goes with it.
# A unit on COM1, as on the bench: the simulated one from the Linux build, on a
# link of this prefix (the mapping takes effect at the next server start,
# which start-and-close.sh makes). Without it the start-up open would fail and
# its "Error" box would stand before the window.
tvunit=$root/build/tools/tvunit/tvunit
if [ -x "$tvunit" ]; then
  com1=$WINEPREFIX/tvunit-com1
  "$tvunit" --link "$com1" >"$work/unit.out" &
  unit=$!
  wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$com1" /f >/dev/null 2>&1
fi
cat >"$work/start-and-close.sh" <<'INNER'
#!/usr/bin/env bash
# Runs on the virtual display: $1 the installed tvconfig.exe, $2 a log, $3 the
# name of the window to wait for before closing, $4 (optional) the name of a
# window that must never be shown. A server of its own, whose programs draw on
# this display.
set -u
. "$TVCONFIG_ROOT/scripts/lib/wine_server.sh"
wine_server_restart || exit 1
wine "$1" >"$2" 2>&1 &
program=$!
seen=$2.seen
rm -f "$seen"
if [ -n "${4:-}" ]; then
  ( while kill -0 $program 2>/dev/null; do
      xdotool search --onlyvisible --name "$4" >/dev/null 2>&1 && { touch "$seen"; break; }
      sleep 0.2
    done ) &
fi
shown=1
for _ in $(seq 120); do
  xdotool search --onlyvisible --name "$3" >/dev/null 2>&1 && { shown=0; break; }
  sleep 0.5
done
[ $shown -eq 0 ] || echo "window \"$3\" did not appear" >>"$2"
sleep 1
wine taskkill /IM tvconfig.exe >>"$2" 2>&1
for _ in $(seq 60); do kill -0 $program 2>/dev/null || break; sleep 0.5; done
if kill -0 $program 2>/dev/null; then
  echo "still running after WM_CLOSE" >>"$2"
  wine taskkill /F /IM tvconfig.exe >/dev/null 2>&1
  exit 1
fi
wait $program
rc=$?
wait
never=0
[ ! -e "$seen" ] || { echo "window \"$4\" was shown" >>"$2"; never=1; }
wine_server_stop
exit $((shown | rc | never))
INNER
chmod +x "$work/start-and-close.sh"
export TVCONFIG_ROOT=$root
mkdir "$work/current" "$work/startup-box"
started() {
  (cd "$work/current" && xvfb-run -a -s "-screen 0 1024x768x24" \
     "$work/start-and-close.sh" "$dir/tvconfig.exe" "$work/tvconfig.log" 'Configurator') ||
    { cat "$work/tvconfig.log"; return 1; }
}
check "installed tvconfig.exe starts and closes on WM_CLOSE" started
check "TVCONFIG.INI saved in the current folder at close" grep -q '^\[rs232c1\]' "$work/current/TVCONFIG.INI"

# com1 names a port that does not exist: the start-up open fails and its "Error"
# box (titled "tvconfig") stands before the window. WM_CLOSE then must end the
# program, saved, without the window ever being shown.
closedAtTheBox() {
  (cd "$work/startup-box" && TVCONFIG_COM1='\\.\COM99' xvfb-run -a -s "-screen 0 1024x768x24" \
     "$work/start-and-close.sh" "$dir/tvconfig.exe" "$work/box.log" '^tvconfig$' 'Configurator') ||
    { cat "$work/box.log"; return 1; }
}
check "WM_CLOSE during the start-up Error box ends it without showing the window" closedAtTheBox
check "TVCONFIG.INI saved at that close" grep -q '^\[rs232c1\]' "$work/startup-box/TVCONFIG.INI"

# The uninstaller copies itself away and returns at once: wait for its work.
wine_server_start "$WINEPREFIX"  # the last run on the display stopped its own
wine "$dir/uninstall.exe" /S
gone() { ! installed && ! registered && [ ! -e "$menu" ]; }
check "silent uninstall removes the programs, the Start-menu entry and the listing" waitFor 30 gone
exit $status
