#!/usr/bin/env bash
# Retakes every picture in docs/ from the real programs, each with com1 served by
# a simulated unit (tvunit):
#   - the Linux window of the native build in build/, on a virtual X display (Xvfb);
#   - tvconfig.exe of the Windows package in build-win/, under Wine in a Wine
#     desktop on such a display, so in the Windows look with Wine's title bar.
# Of each: the Manual Write page after "search" (docs/window.png,
# docs/window-wine.png), the LowLevelCommand page after "set", "Write", "Dump"
# and "View Buffer", the ComPort page, and the Channels page with the channels
# of a header given on the command line, where the program has that fourth page
# (docs/window[-wine]-<page>.png). Pages are turned with Ctrl+Tab, and counted
# by turning until the first comes back.
#
#   scripts/screenshots.sh [linux] [windows]     (both when none is named)
#
# Builds what it runs: tvconfig, tvcalc and tvunit in build/, and tvconfig.exe
# through scripts/build-windows.sh (which takes TVCONFIG_WIN_QT), packed by
# scripts/package-windows.sh when the package is missing or older. Installs Xvfb, xdotool, ImageMagick,
# Wine and gcc when they are missing. TVCONFIG_SHOTS_WINEPREFIX chooses the Wine
# prefix (default build-win/wineprefix-shots, kept between runs);
# TVCONFIG_SHOTS_KEEP=DIR copies the working pictures there at the end, to look
# into a failure.
#
# Buttons are clicked where the window's layout puts them at 96 dpi (the page's
# origin below plus the control's place on the page); each click is checked to
# have changed the window, so a layout that moved a button stops the script
# with the button's name instead of taking a wrong picture.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/packages.sh"

looks=("$@")
[ ${#looks[@]} -gt 0 ] || looks=(linux windows)
packages=(xvfb xauth xdotool imagemagick)
[[ " ${looks[*]} " == *" windows "* ]] && packages+=(wine wine64 gcc)
ensure_packages "${packages[@]}"
# The Wine server persistent, started before anything touches the prefix.
[[ " ${looks[*]} " == *" windows "* ]] && . "$root/scripts/lib/wine_server.sh"

docs=$root/docs
native=$root/build
win=$root/build-win
work=$(mktemp -d)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -z "${WINEPREFIX:-}" ] || wine_server_release
  [ -z "${TVCONFIG_SHOTS_KEEP:-}" ] ||
    { mkdir -p "$TVCONFIG_SHOTS_KEEP" && cp -r "$work/." "$TVCONFIG_SHOTS_KEEP/"; }
  rm -rf "$work"
}
trap cleanup EXIT

# Where the buttons are: each button's centre on its page, from the places the
# window gives them at 96 dpi, and where a page starts in the picture of each look
# (below the tab row; under Wine also below Wine's title bar), measured on
# the pictures.
page_origin_linux="2 26"
page_origin_wine="5 45"
declare -A button_at=([search]="88 324" [set]="509 244" [Write]="509 284"
                      [Dump]="61 196" [View Buffer]="413 316")

# --- pictures -----------------------------------------------------------------

# pixels_apart A B: how many pixels of two pictures of one size differ.
pixels_apart() {
  compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | sed 's/ .*//; s/\..*//' || true
}

# grab OUT: the picture of what is shown now ($grab_window, cut to $crop).
grab() {
  import -window "$grab_window" "$work/raw.png"
  if [ -n "$crop" ]; then
    convert "$work/raw.png" -crop "$crop" +repage "$1"
  else
    mv "$work/raw.png" "$1"
  fi
}

# grab_still OUT: grabs until two pictures in a row agree (a blinking text
# cursor aside), so what a click or key started has been drawn.
grab_still() {
  grab "$work/still-a.png"
  for _ in $(seq 60); do
    sleep 0.25
    grab "$work/still-b.png"
    if [ "$(pixels_apart "$work/still-a.png" "$work/still-b.png")" -le 40 ]; then
      mv "$work/still-b.png" "$1"
      return 0
    fi
    mv "$work/still-b.png" "$work/still-a.png"
  done
  echo "screenshots.sh: the window did not settle" >&2
  return 1
}

# click NAME [quiet]: clicks a button of the shown page and waits until the
# window changed and settled; "quiet" for a button that may show nothing.
click() {
  local x y
  read -r x y <<<"${button_at[$1]}"
  grab_still "$work/before.png"
  xdotool mousemove --window "$grab_window" $((origin_x + x)) $((origin_y + y)) click 1
  if [ "${2:-}" = quiet ]; then
    grab_still "$work/after.png"
    return 0
  fi
  for _ in $(seq 40); do
    sleep 0.25
    grab "$work/after.png"
    if [ "$(pixels_apart "$work/before.png" "$work/after.png")" -gt 40 ]; then
      grab_still "$work/after.png"
      return 0
    fi
  done
  echo "screenshots.sh: clicking \"$1\" at $((origin_x + x)), $((origin_y + y)) changed nothing;" \
       "has the layout moved it? Correct button_at or the origin in this script." >&2
  return 1
}

# turn [shift+]: Ctrl+Tab (or Ctrl+Shift+Tab) to the next (previous) page.
turn() {
  xdotool key --clearmodifiers "ctrl+${1:-}Tab"
}

# shoot_pages SUFFIX: on the Manual Write page of a window just started: the
# pictures docs/window$SUFFIX.png (after "search") and, turning the pages, those
# of the others. Sets $page_count.
shoot_pages() {
  local suffix=$1
  grab_still "$work/start.png"
  click search
  cp "$work/after.png" "$docs/window$suffix.png"
  click set quiet # it shows nothing on this page
  click Write
  cp "$work/after.png" "$work/manual.png"
  # Turn until Manual Write comes back: after it come ComPort, the Channels
  # page where there is one, and LowLevelCommand.
  local seen=()
  for page in 1 2 3 4 5; do
    turn
    grab_still "$work/page$page.png"
    # Back on Manual Write: only the focus frame moved (a few hundred pixels;
    # another page differs in tens of thousands).
    [ "$(pixels_apart "$work/page$page.png" "$work/manual.png")" -le 3000 ] && break
    seen+=("$work/page$page.png")
  done
  page_count=$((${#seen[@]} + 1))
  if [ $page_count -lt 3 ] || [ $page_count -gt 4 ]; then
    echo "screenshots.sh: Ctrl+Tab showed $page_count pages; expected 3 or 4" >&2
    return 1
  fi
  cp "${seen[0]}" "$docs/window$suffix-comport.png"
  turn shift+
  grab_still "$work/low.png"
  click Dump
  click "View Buffer"
  cp "$work/after.png" "$docs/window$suffix-lowlevelcommand.png"
  echo "Wrote docs/window$suffix.png, -comport.png, -lowlevelcommand.png ($page_count pages)"
}

# shoot_channels SUFFIX: the Channels page of a window started with the header.
shoot_channels() {
  grab_still "$work/start.png"
  turn
  turn
  grab_still "$docs/window$1-channels.png"
  echo "Wrote docs/window$1-channels.png"
}

# --- what the windows show ------------------------------------------------------

build_native() {
  if [ ! -f "$native/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  nice cmake --build "$native" -j2 --target tvconfig tvcalc tvunit >/dev/null
}

# write_header FILE: eight channels as "save" writes them, their words from
# tvcalc, for a window to load and show.
write_header() {
  local tvcalc=$native/tools/tvcalc/tvcalc ch=0 mhz r n a b vco pd init ref nreg func
  {
    printf '//%s\r\n' "$(date '+%Y/%m/%d %H:%M:%S')"
    for mhz in 12340 12250 11700 11475 10750 10600 9750 9600; do
      # R N A B VCO(MHz) PD(kHz) InitReg RefReg NReg FuncReg, the first match
      IFS=$'\t' read -r r n a b vco pd init ref nreg func < <("$tvcalc" --tsv "$mhz" 100 10 | tail -n 1)
      printf '//%d  %sMHz, STD=10MHz, PD=%skHz, I=2.50mA\r\n' "$ch" "$mhz" "$pd"
      printf '  0x%s,    //InitReg\r\n  0x%s,    //RefReg\r\n  0x%s,    //NReg\r\n  0x%s,    //FuncReg\r\n' \
        "$init" "$ref" "$nreg" "$func"
      ch=$((ch + 1))
    done
  } >"$1"
}

# start_display: a virtual X display of its own number; sets DISPLAY.
start_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  export DISPLAY=:$(head -n 1 "$work/display")
}

# start_unit LINK: a fresh tvunit serving a pseudo-terminal behind LINK, for
# one window; stop_unit ends it.
unit_pid=""
start_unit() {
  rm -f "$1"
  "$native/tools/tvunit/tvunit" --link "$1" >/dev/null &
  unit_pid=$!
  pids+=($unit_pid)
  for _ in $(seq 50); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  echo "screenshots.sh: tvunit gave no terminal" >&2
  return 1
}

stop_unit() {
  kill "$unit_pid" 2>/dev/null || true
  wait "$unit_pid" 2>/dev/null || true
}

shoot_linux() {
  local app=$native/app/tvconfig session pid
  for session in pages channels; do
    [ $session = channels ] && [ "${page_count:-3}" -lt 4 ] && break
    mkdir -p "$work/linux-$session"
    local args=()
    [ $session = channels ] && args=(shots_param.h) && write_header "$work/linux-$session/shots_param.h"
    start_unit "$work/linux-com1"
    (cd "$work/linux-$session" && TVCONFIG_COM1=$work/linux-com1 exec "$app" "${args[@]}" \
      >/dev/null 2>&1) &
    pid=$!
    pids+=($pid)
    grab_window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Configurator' | head -n 1)
    crop=""
    read -r origin_x origin_y <<<"$page_origin_linux"
    xdotool windowfocus --sync "$grab_window"
    if [ $session = pages ]; then shoot_pages ""; else shoot_channels ""; fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    stop_unit
  done
}

shoot_windows() {
  # The programs as the package holds them; packed anew when the build is newer.
  "$root/scripts/build-windows.sh" tvconfig tvcalc tvprog
  local exe
  exe=$(ls "$win"/package/tvconfig-*-win64/tvconfig.exe 2>/dev/null | head -n 1 || true)
  if [ -z "$exe" ] || [ "$win/app/tvconfig.exe" -nt "$exe" ]; then
    "$root/scripts/package-windows.sh" "$win" "$(sed -n 's/^TV_WIN_QT_DIR:[A-Z]*=//p' "$win/CMakeCache.txt")"
    exe=$(ls "$win"/package/tvconfig-*-win64/tvconfig.exe | head -n 1)
  fi
  local shim=$win/tiocm_shim.so # DTR and RTS on a pseudo-terminal (tests/windows)
  if [ ! -f "$shim" ] || [ "$root/tests/windows/tiocm_shim.c" -nt "$shim" ]; then
    gcc -shared -fPIC -O2 -Wall -Wextra -o "$shim" "$root/tests/windows/tiocm_shim.c" -ldl
  fi
  wine_server_start "${TVCONFIG_SHOTS_WINEPREFIX:-$win/wineprefix-shots}"
  # COM1 is a link of this prefix's own; Wine maps it when its server starts.
  local com1=$WINEPREFIX/tvunit-com1
  wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$com1" /f >/dev/null 2>&1
  wine_server_stop
  local session
  for session in pages channels; do
    [ $session = channels ] && [ "${page_count:-3}" -lt 4 ] && break
    wine_server_start "$WINEPREFIX"
    start_unit "$com1"
    mkdir -p "$work/wine-$session"
    local args=()
    [ $session = channels ] && args=(shots_param.h) && write_header "$work/wine-$session/shots_param.h"
    (cd "$work/wine-$session" &&
      LD_PRELOAD=$shim exec wine explorer /desktop=shots,1024x768 "$exe" "${args[@]}" >/dev/null 2>&1) &
    pids+=($!)
    grab_window=$(timeout 60 xdotool search --sync --name 'Wine desktop' | head -n 1)
    # The window is what stands out of the desktop's plain background.
    # The bottom of the desktop is left out, where a task bar may be.
    crop=""
    local shown=""
    for _ in $(seq 240); do
      grab "$work/desktop.png"
      shown=$(convert "$work/desktop.png" -crop 1024x700+0+0 +repage -fuzz 2% -format '%@' info: 2>/dev/null)
      [ "${shown%%x*}" -ge 400 ] 2>/dev/null && break
      sleep 0.25
    done
    grab_still "$work/desktop.png"
    crop=$(convert "$work/desktop.png" -crop 1024x700+0+0 +repage -fuzz 2% -format '%@' info:)
    read -r origin_x origin_y <<<"$page_origin_wine"
    local left=${crop#*+} top
    top=${left#*+}
    left=${left%+*}
    origin_x=$((origin_x + left))
    origin_y=$((origin_y + top))
    xdotool windowfocus --sync "$grab_window"
    if [ $session = pages ]; then shoot_pages -wine; else shoot_channels -wine; fi
    wine_server_stop
    stop_unit
  done
}

for look in "${looks[@]}"; do
  case $look in
    linux | windows) ;;
    *) echo "usage: scripts/screenshots.sh [linux] [windows]" >&2; exit 2 ;;
  esac
done
build_native
start_display
for look in "${looks[@]}"; do
  page_count=""
  if [ "$look" = linux ]; then
    shoot_linux
  else
    shoot_windows
  fi
done
