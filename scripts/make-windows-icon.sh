#!/usr/bin/env bash
# Regenerates packaging/windows/tvconfig.ico (tvconfig.exe's icon) from the
# desktop icon share/icons/hicolor/scalable/apps/tvconfig.svg, at the sizes
# Windows asks for. The SVG is drawn by librsvg (through gdk-pixbuf, packages
# libgdk-pixbuf2.0-bin and librsvg2-common): ImageMagick's own SVG reader draws
# the open wave as a closed shape. ImageMagick (convert) packs the sizes.
# The .ico is kept in the repository, so a build needs neither tool; this
# script installs them when they are missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/packages.sh"
ensure_packages imagemagick libgdk-pixbuf2.0-bin librsvg2-common
svg=$root/share/icons/hicolor/scalable/apps/tvconfig.svg
ico=$root/packaging/windows/tvconfig.ico
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 24 32 48 64 256; do
  gdk-pixbuf-thumbnailer -s "$size" "$svg" "$work/$size.png"
  pngs+=("$work/$size.png")
done
convert "${pngs[@]}" "$ico"
identify "$ico"
