#!/bin/sh
# Builds the Debian package from an already configured build directory and
# checks it: the files it installs, the dependencies it declares, that its
# command-line programs run from the unpacked package, and that its desktop
# entry validates.
# Usage: scripts/check-package.sh BUILD_DIR
set -eu

if [ $# -ne 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
    echo "usage: $0 BUILD_DIR   (a directory configured with cmake -S . -B BUILD_DIR)" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
fail() {
    echo "check-package: $*" >&2
    exit 1
}

nice cmake --build "$build" -j2 --target tvconfig tvcalc tvprog tvunit
out="$build/package"
rm -rf "$out"
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$build/cpack.log" 2>&1 ||
    { cat "$build/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$out"/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no .deb in $out"
echo "package: $deb"

listing=$(dpkg-deb -c "$deb")
for file in usr/bin/tvconfig usr/bin/tvcalc usr/bin/tvprog usr/bin/tvunit \
    usr/share/applications/tvconfig.desktop \
    usr/share/icons/hicolor/scalable/apps/tvconfig.svg \
    usr/share/man/man1/tvcalc.1 usr/share/man/man1/tvprog.1 usr/share/man/man1/tvunit.1; do
    echo "$listing" | grep -q " \./$file\$" || fail "the package lacks /$file"
done
echo "files: all present"

depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6serialport6 fonts-ipafont-gothic; do
    echo "$depends" | grep -q "$dep" || fail "Depends lacks $dep: $depends"
done
echo "depends: $depends"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
for program in tvcalc tvprog; do
    "$scratch/usr/bin/$program" --help >"$scratch/help.txt" ||
        fail "$program --help from the package failed"
    grep -q "usage: $program" "$scratch/help.txt" || fail "$program --help printed no usage"
done
echo "help: tvcalc and tvprog run from the unpacked package"

desktop-file-validate "$scratch/usr/share/applications/tvconfig.desktop" ||
    fail "the desktop entry does not validate"
echo "desktop entry: valid"
echo "check-package: ok"
