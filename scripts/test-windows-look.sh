#!/usr/bin/env bash
# Runs the window's look and keyboard tests (app_window_tests.exe, the
# TextFitWindowTest and KeyboardWindowTest cases) under Wine on Wine's own
# display driver, as an operator sees the window: Qt's windows platform on a
# virtual X display, the fonts the program chooses on Windows (the IPA Gothic
# pair standing in for MS PGothic and MS Gothic), at 96, 120 and 144 dpi
# (100 %, 125 % and 150 %, Wine's LogPixels). A cut or covered text fails its
# scale and is named with its control.
#
#   scripts/test-windows-look.sh [DIR]
#
# With DIR it also leaves a picture of tvconfig.exe at each scale and page there
# (DIR/window-<dpi>dpi-<page>.png), the pages turned with Ctrl+Tab.
# Needs build-win/ (scripts/build-windows.sh). The scales are set in a prefix
# of this run's own (TVCONFIG_LOOK_WINEPREFIX, default build-win/wineprefix-look),
# so the other Windows runs keep 96 dpi.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=$root/build-win
shots=${1:-}
. "$root/scripts/lib/packages.sh"
ensure_packages xvfb xauth xdotool imagemagick wine wine64 fonts-ipafont-gothic
tests=$win/tests/app_window/app_window_tests.exe
app=$win/app/tvconfig.exe
for f in "$tests" "$app"; do
  [ -f "$f" ] || { echo "test-windows-look.sh: $f is missing; run scripts/build-windows.sh" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  wine_server_release
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The server first, kept alive between the programs, then the prefix.
. "$root/scripts/lib/wine_server.sh"
wine_dll_path "$win"  # Qt's DLLs and the compiler's runtime
wine_server_start "${TVCONFIG_LOOK_WINEPREFIX:-$win/wineprefix-look}" || exit 1

# A display of our own: Xvfb picks a free number and tells it on fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "test-windows-look.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

set_dpi() {  # Wine 8 reads the user's value; older prefixes the machine's
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  # Each program reads it when it starts; a fresh server makes sure of it.
  wine_server_restart
}

# Shows tvconfig.exe and takes a picture of each page, turning them with Ctrl+Tab.
take_pictures() {
  local dpi=$1 dir=$2 page window="" box
  mkdir -p "$dir" "$work/current"
  (cd "$work/current" && TVCONFIG_COM1='\\.\COM99' WINEQT_QPA_PLATFORM=windows wine "$app" \
     >/dev/null 2>&1 &) 2>/dev/null
  for _ in $(seq 120); do
    # The start-up box about the missing port comes first: answer it.
    box=$(xdotool search --onlyvisible --name '^tvconfig$' 2>/dev/null | head -n1)
    if [ -n "$box" ]; then
      xdotool windowfocus "$box" 2>/dev/null || true
      xdotool key Return 2>/dev/null || true
    fi
    window=$(xdotool search --onlyvisible --name 'Configurator' 2>/dev/null | head -n1)
    [ -n "$window" ] && break
    sleep 0.5
  done
  if [ -z "$window" ]; then
    echo "test-windows-look.sh: tvconfig.exe showed no window at $dpi dpi" >&2
  else
    sleep 2
    xdotool windowfocus "$window" 2>/dev/null || true
    for page in 1 2 3 4; do
      import -window "$window" "$dir/window-${dpi}dpi-$page.png"
      xdotool key ctrl+Tab
      sleep 1
    done
  fi
  wine taskkill /im tvconfig.exe /f >/dev/null 2>&1 || true
}

passed=0
failed=0
for dpi in 96 120 144; do
  set_dpi "$dpi"
  if WINEQT_QPA_PLATFORM=windows timeout -k 5 600 wine "$tests" \
       --gtest_filter='TextFitWindowTest.*:KeyboardWindowTest.*' </dev/null >"$work/out" 2>&1 &&
     grep -q '^\[  PASSED  \]' <(tr -d '\r' <"$work/out") &&
     ! grep -q '^\[  SKIPPED \]' <(tr -d '\r' <"$work/out"); then
    passed=$((passed + 1))
    echo "ok   Windows look at $dpi dpi"
  else
    failed=$((failed + 1))
    echo "FAIL Windows look at $dpi dpi"
    cp "$work/out" "$win/look-${dpi}dpi.log"
    tr -d '\r' <"$work/out" | grep -v '^\[ *\(RUN\|OK\|==========\|----------\) *\]' | head -n 80
  fi
  [ -z "$shots" ] || take_pictures "$dpi" "$shots"
done
echo "Windows look under Wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
