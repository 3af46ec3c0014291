# Sourced by every script that runs Wine programs: one way to start a Wine
# prefix's server, so that no run can fail by the server's timing.
#
# A Wine program that finds no server starts one that ends a few seconds after
# its last program; a program that connects while it ends fails with "wine
# client error:0: recvmsg: Connection reset by peer". `wineserver -p` cannot
# make a running server persistent (it exits with status 2 and changes
# nothing), so the persistent server must come first: here it is started
# before anything touches the prefix (wineboot included), and the first Wine
# program runs only once it answers.
#
#   wine_server_start PREFIX  exports WINEPREFIX (and WINEDEBUG=-all unless set),
#                             starts PREFIX's server persistent, makes a new
#                             prefix (wineboot --init) once it answers
#   wine_server_restart       a new persistent server, for what Wine reads at
#                             a server's start (COM port mappings, the display)
#   wine_server_stop          stops the server and waits until it has gone
#   wine_server_release       stops it if this script started it: a script run
#                             by another that started it leaves it running
#   wine_dll_path WIN_BUILD   exports WINEPATH: the DLLs of Qt (where the build in
#                             WIN_BUILD took it from) and of the compiler's runtime
#
# TVCONFIG_WINESERVER_PREFIX (exported) names the prefix whose server a parent
# script started persistent; only then is a server found running trusted.

. "$(dirname "${BASH_SOURCE[0]}")/packages.sh"
ensure_packages wine wine64

wine_server_owner=0

# wine_server_answers: true once the prefix's server holds its lock and lives
# (`wineserver -p` returns only after the new server listens on its socket).
wine_server_answers() {
  local _
  for _ in $(seq 100); do
    wineserver -k0 >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "wine_server.sh: the Wine server of $WINEPREFIX does not answer;" \
       "run 'WINEPREFIX=$WINEPREFIX wineserver -k' and try again." >&2
  return 1
}

wine_server_start() {
  export WINEPREFIX=$1
  export WINEDEBUG=${WINEDEBUG:--all}
  mkdir -p "$WINEPREFIX"
  if [ "${TVCONFIG_WINESERVER_PREFIX:-}" != "$WINEPREFIX" ]; then
    # A server found now was not started here: it may end on its own.
    wine_server_stop
    export TVCONFIG_WINESERVER_PREFIX=$WINEPREFIX
    wine_server_owner=1
  fi
  local status=0
  wineserver -p >/dev/null 2>&1 || status=$?
  # 2: the persistent server started earlier still runs.
  if [ "$status" -ne 0 ] && [ "$status" -ne 2 ]; then
    echo "wine_server.sh: wineserver -p failed with status $status for $WINEPREFIX" >&2
    return 1
  fi
  wine_server_answers || return 1
  # wineboot writes the stamp when the prefix is made; the persistent server
  # may not have written the registry files yet.
  [ -f "$WINEPREFIX/.update-timestamp" ] || wineboot --init </dev/null >/dev/null 2>&1
}

wine_server_restart() {
  wine_server_stop
  wine_server_start "$WINEPREFIX"
}

wine_server_stop() {
  wineserver -k >/dev/null 2>&1 || true  # none running: fine
  wineserver -w >/dev/null 2>&1 || true
}

wine_server_release() {
  [ "$wine_server_owner" -eq 0 ] || wine_server_stop
}

wine_dll_path() {
  local win=$1 qt_dir dll
  # Qt is where the build took it from: build-win/qt, or the unpacked prefix
  # that TVCONFIG_WIN_QT named.
  qt_dir=$(sed -n 's/^TV_WIN_QT_DIR:[A-Z]*=//p' "$win/CMakeCache.txt" 2>/dev/null || true)
  local dll_dirs=("${qt_dir:-$win/qt}/bin")
  for dll in libstdc++-6.dll libwinpthread-1.dll; do
    dll_dirs+=("$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")")
  done
  WINEPATH=$(printf 'Z:%s;' "${dll_dirs[@]}")
  export WINEPATH
}
