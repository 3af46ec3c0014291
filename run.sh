#!/usr/bin/env bash
# Builds tvconfig and starts it in the current directory (where TVCONFIG.INI and
# the exported headers live). Unless TVCONFIG_COM1 names a port, com1 is served by
# tvunit, a simulated Tarvex unit on a pseudo-terminal, so every button works
# without hardware. Installs missing Debian packages first.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" -j"$(nproc)" --target tvconfig tvunit

if [ -z "${TVCONFIG_COM1:-}" ]; then
  link="${XDG_RUNTIME_DIR:-/tmp}/tvconfig-com1.$$"
  "$here/build/tools/tvunit/tvunit" --link "$link" >/dev/null &
  unit=$!
  trap 'kill "$unit" 2>/dev/null; wait "$unit" 2>/dev/null' EXIT
  for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
  export TVCONFIG_COM1="$link"
  echo "com1 is the simulated unit on $link (set TVCONFIG_COM1 to use a real port)"
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No desktop session found: starting tvconfig on a virtual X display (Xvfb)."
  xvfb-run -a -s "-screen 0 1024x768x24" "$here/build/app/tvconfig" "$@"
else
  "$here/build/app/tvconfig" "$@"
fi
