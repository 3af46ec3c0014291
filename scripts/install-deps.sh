#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Runs as root (as on a fresh Debian 12 machine); otherwise it uses sudo.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev             # the window (Qt 6 Widgets)
  fonts-ipafont-gothic               # IPAPGothic and IPAGothic
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev           # the libFuzzer run of the settings reader
  clang-format-14                    # the format check of the test command
  dpkg-dev desktop-file-utils        # building and checking the Debian package
  xvfb xauth                         # the Windows installer test shows tvconfig.exe on a virtual display
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
