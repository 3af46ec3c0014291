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
  qt6-serialport-dev                 # the port listing (QSerialPortInfo)
  xvfb xauth xdotool                 # the Windows installer test shows tvconfig.exe on a virtual display
)
. "$(dirname "$0")/lib/packages.sh"
ensure_packages "${packages[@]}"
