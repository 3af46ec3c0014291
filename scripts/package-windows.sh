#!/usr/bin/env bash
# Packs the cross-built programs of build-win/ for Windows: a folder with
# tvconfig.exe, tvcalc.exe, tvprog.exe and every DLL and Qt plugin they load,
# checked so that each DLL any of them imports is either shipped or part of
# Windows; then tvconfig-<version>-win64.zip of it and the NSIS installer
# tvconfig-<version>-win64-setup.exe. Called by scripts/build-windows.sh.
#
#   scripts/package-windows.sh <build-win> <unpacked Qt>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "$1" && pwd)
qt=$(cd "$2" && pwd)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")
name=tvconfig-$version-win64
stage=$out/package/$name
rm -rf "$out/package"
mkdir -p "$stage/platforms" "$stage/styles"

cp "$out/app/tvconfig.exe" "$out/tools/tvcalc/tvcalc.exe" "$out/tools/tvprog/tvprog.exe" "$stage/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets,SerialPort}.dll "$stage/"
# qwindows draws the window; qoffscreen runs it without a display (-platform
# offscreen), as the package test does.
cp "$qt/plugins/platforms/qwindows.dll" "$qt/plugins/platforms/qoffscreen.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Our programs carry the compiler's runtime inside; Qt's DLLs were linked
# against the shared one of the same MinGW-w64 GCC.
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
cp "$gcc_dir/libstdc++-6.dll" "$gcc_dir/libgcc_s_seh-1.dll" "$stage/"
cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)" "$stage/"
# Debug sections are of no use to an operator and are most of libstdc++.
find "$stage" \( -name "*.exe" -o -name "*.dll" \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

# Windows' own DLLs that the programs and Qt import; anything else must be in
# the folder.
system_dlls=" advapi32 authz comdlg32 d3d9 d3d11 dwmapi dwrite dxgi gdi32 imm32 kernel32 mpr "
system_dlls+="msvcrt netapi32 ole32 oleaut32 setupapi shcore shell32 shlwapi user32 userenv uxtheme "
system_dlls+="version winmm winspool ws2_32 wtsapi32 "
shipped=" $(cd "$stage" && find . -iname '*.dll' -printf '%f\n' | tr 'A-Z' 'a-z' | tr '\n' ' ') "
missing=0
while IFS= read -r -d '' binary; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p'); do
    lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
    case "$lower" in api-ms-win-*) continue ;; esac  # API sets of Windows 8 and later
    [[ "$system_dlls" == *" ${lower%.dll} "* || "$shipped" == *" $lower "* ]] && continue
    echo "package-windows.sh: ${binary#"$stage"/} imports $dll, which is neither shipped nor part of Windows" >&2
    missing=1
  done
done < <(find "$stage" \( -iname '*.exe' -o -iname '*.dll' \) -print0)
[ $missing -eq 0 ] || exit 1

rm -f "$out/$name.zip"
(cd "$out/package" && zip -qr9 "$out/$name.zip" "$name")

# The uninstaller removes exactly the files the installer put there.
filelist=$out/package/files.nsh
(cd "$stage" && find . -type f -printf 'Delete "$INSTDIR\\%P"\n' | sed 's|/|\\|g' | sort
 find . -mindepth 1 -type d -printf 'RMDir "$INSTDIR\\%P"\n' | sed 's|/|\\|g' | sort -r) > "$filelist"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$root/packaging/windows/tvconfig.ico" \
  -DFILELIST="$filelist" -DOUTFILE="$out/$name-setup.exe" "$root/packaging/windows/tvconfig.nsi"
echo "Packed $out/$name.zip and $out/$name-setup.exe"
