#!/usr/bin/env bash
# Cross-builds tvconfig for 64-bit Windows into build-win/.
#
# On a fresh Debian 12 machine run it as root (or with sudo at hand): it
# installs the MinGW-w64 compiler, Wine, Ninja and NSIS when they are missing.
# Qt 6 for Windows comes from ../shared/windows/qt6.4.2-mingw64-widgets.tar.xz
# beside the repository, or from TVCONFIG_WIN_QT (that archive, or an unpacked
# Qt prefix), and is unpacked into build-win/qt. Qt Serial Port (the port
# listing) comes from qt6.4.2-mingw64-serialport.tar.xz beside it, or from
# TVCONFIG_WIN_QT_SERIALPORT, and is unpacked over that Qt when it lacks it.
#
#   scripts/build-windows.sh [target...]
#
# Without targets it builds tvconfig.exe, tvcalc.exe, tvprog.exe and the
# Windows tests, then packs build-win/tvconfig-<version>-win64.zip and the
# installer build-win/tvconfig-<version>-win64-setup.exe
# (scripts/package-windows.sh). With targets it builds only those.
#
# Environment: TVCONFIG_WIN_QT and TVCONFIG_WIN_QT_SERIALPORT (see above),
# TVCONFIG_WIN_JOBS (default 2),
# TVCONFIG_WIN_APP=0 to leave the window out (and so the package).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-win
jobs=${TVCONFIG_WIN_JOBS:-2}

packages=(g++-mingw-w64-x86-64-posix wine wine64 ninja-build nsis zip cmake googletest
          qt6-base-dev-tools)
. "$root/scripts/lib/packages.sh"
ensure_packages "${packages[@]}"

# Qt for Windows: an unpacked prefix is used where it is; an archive is
# unpacked once into build-win/qt (again when the archive is newer).
qt_source=${TVCONFIG_WIN_QT:-$root/../shared/windows/qt6.4.2-mingw64-widgets.tar.xz}
mkdir -p "$out"
if [ -d "$qt_source" ]; then
  qt_dir=$(cd "$qt_source" && pwd)
elif [ -f "$qt_source" ]; then
  qt_dir=$out/qt
  if [ ! -f "$qt_dir/.unpacked" ] || [ "$qt_source" -nt "$qt_dir/.unpacked" ]; then
    echo "Unpacking $qt_source into $qt_dir"
    rm -rf "$qt_dir"
    mkdir -p "$qt_dir"
    tar -xJf "$qt_source" -C "$qt_dir"
    # An archive with one top folder: use what is inside it.
    entries=("$qt_dir"/*)
    if [ ${#entries[@]} -eq 1 ] && [ -d "${entries[0]}" ] && [ ! -d "$qt_dir/lib" ]; then
      mv "${entries[0]}"/* "$qt_dir"/ && rmdir "${entries[0]}"
    fi
    touch "$qt_dir/.unpacked"
  fi
else
  echo "build-windows.sh: no Qt for Windows at $qt_source;" \
       "set TVCONFIG_WIN_QT to the archive or an unpacked Qt." >&2
  exit 1
fi

# Qt Serial Port, in the same folders as the Qt it was built against.
serialport_source=${TVCONFIG_WIN_QT_SERIALPORT:-$root/../shared/windows/qt6.4.2-mingw64-serialport.tar.xz}
if [ ! -f "$qt_dir/lib/cmake/Qt6SerialPort/Qt6SerialPortConfig.cmake" ] ||
   [ ! -f "$qt_dir/bin/Qt6SerialPort.dll" ]; then
  if [ ! -f "$serialport_source" ]; then
    echo "build-windows.sh: $qt_dir has no Qt Serial Port and there is no archive at" \
         "$serialport_source; set TVCONFIG_WIN_QT_SERIALPORT to it." >&2
    exit 1
  fi
  echo "Unpacking $serialport_source over $qt_dir"
  tar -xJf "$serialport_source" -C "$qt_dir"
fi

# A build folder configured against another Qt, or before that Qt had the
# Serial Port module, keeps the old package paths in its cache: start it anew.
cached_qt=$(sed -n 's/^TV_WIN_QT_DIR:[A-Z]*=//p' "$out/CMakeCache.txt" 2>/dev/null || true)
if [ -f "$out/CMakeCache.txt" ] &&
   { [ "$cached_qt" != "$qt_dir" ] || grep -q '^Qt6SerialPort_DIR:PATH=.*NOTFOUND' "$out/CMakeCache.txt"; }; then
  echo "Configuring $out anew for the Qt in $qt_dir"
  rm -rf "$out/CMakeCache.txt" "$out/CMakeFiles"
fi

app=ON
[ "${TVCONFIG_WIN_APP:-1}" = 0 ] && app=OFF
cmake -S "$root" -B "$out" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DTV_WIN_QT_DIR="$qt_dir" \
  -DTV_BUILD_APP=$app -DTV_BUILD_BENCH=OFF -DTV_WERROR=ON

targets=("$@")
package=0
if [ ${#targets[@]} -eq 0 ]; then
  targets=(tvcalc tvprog serial_tests serial_win32_tests wine_serial_echo)
  [ $app = ON ] && targets+=(tvconfig) && package=1
fi
# "all" builds the window too: pack it as well.
[ $app = ON ] && [[ " ${targets[*]} " == *" all "* ]] && package=1
nice cmake --build "$out" -j"$jobs" --target "${targets[@]}"
[ $package -eq 0 ] || "$root/scripts/package-windows.sh" "$out" "$qt_dir"
