#!/usr/bin/env bash
# scripts/check-rooms.sh on small trees of one file with one include: it must
# fail naming the file and the include exactly when the include points up; and
# it must pass on the repository itself.
#
#   tests/rooms/check_rooms_test.sh REPOSITORY
set -uo pipefail
repo=$1
check=$repo/scripts/check-rooms.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failed=0
while read -r file include expected; do
  rm -rf "${tree:?}"/*
  mkdir -p "$tree/${file%/*}" "$tree/os"  # os/: a tree with a room
  printf '#include "%s"\n' "$include" >"$tree/$file"
  out=$("$check" "$tree" 2>&1)
  status=$?
  if [ "$expected" = up ]; then
    [ $status -ne 0 ] && grep -qF "$file:1: #include \"$include\"" <<<"$out"
  else
    [ $status -eq 0 ]
  fi || { echo "FAIL $file including $include ($expected): status $status: $out"; failed=1; }
done <<'CASES'
os/file_steps.cpp           synth/ratio_finder.h       up
synth/ratio_finder.cpp      device/channel_table.h     up
serial/rs232c.cpp           app/tform1.h               up
ports/port_name.cpp         serial/rs232c.h            up
ports/port_choices.cpp      device/channel_table.h     up
settings/settings.cpp       synth/number_format.h      up
settings/settings.cpp       device/channel_table.h     up
tools/tvprog/main.cpp       app/tform1.h               up
device/device_link.cpp      synth/ratio_finder.h       down
serial/rs232c.cpp           ports/port_name.h          down
settings/settings.cpp       options/option_table.h     down
tools/tvprog/main.cpp       ports/port_choices.h       down
device/channel_rows.cpp     options/option_table.h     down
app/tform1.cpp              device/channel_table.h     down
tests/device/link_test.cpp  app/tform1.h               down
CASES
"$check" "$repo" >/dev/null 2>&1 || { echo "FAIL the repository's own includes:"; "$check" "$repo"; failed=1; }
exit $failed
