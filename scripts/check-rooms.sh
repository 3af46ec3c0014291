#!/usr/bin/env bash
# Fails when a C or C++ file includes from a room above its own in the README's
# "Layout" table, naming the file, the line and the include. Every library
# exposes the repository's root as its include folder, so the compiler accepts
# any include; this check keeps them pointing down. Includes inside a room are
# free; tests/, bench/ and fuzz/ may include any room and are not checked.
#
#   scripts/check-rooms.sh [ROOT]    ROOT: the tree to check (default: this repository)
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
root=${root%/}

# The rooms each room may include besides its own, bottom up. A new room (or a
# new arrow between two) is added here and in the README's table together.
declare -A may_include=(
  [options]=""
  [os]=""
  [synth]="options os"
  [ports]="os"
  [serial]="os ports"
  [settings]="os options"
  [device]="options synth os ports serial"
  [app]="options os synth ports serial settings device"
  [tools]="options os synth ports serial settings device"
)

# room_of PATH: sets $room to the room of a path from the root, or to nothing
# outside the rooms.
room_of() {
  room=""
  case $1 in
    */*) [ -z "${may_include[${1%%/*}]+known}" ] || room=${1%%/*} ;;
  esac
}

folders=()
for folder in options os synth ports serial settings device app tools; do
  [ -d "$root/$folder" ] && folders+=("$root/$folder")
done
[ ${#folders[@]} -gt 0 ] || { echo "check-rooms.sh: no room folder under $root" >&2; exit 1; }

files=0
bad=0
declare -A seen=()
include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^">]+)[">]'
while IFS=: read -r path line text; do
  file=${path#"$root"/}
  [ -n "${seen[$file]+counted}" ] || { seen[$file]=1; files=$((files + 1)); }
  [[ $text =~ $include_line ]] || continue
  include=${BASH_REMATCH[2]}
  target=$include
  # A quoted name found beside the file is that file (the compiler looks there first).
  if [ "${BASH_REMATCH[1]}" = '"' ] && [ -e "${path%/*}/$include" ]; then
    target=$(realpath -m --relative-to="$root" "${path%/*}/$include")
  fi
  room_of "$file"
  own=$room
  room_of "$target"
  to=$room
  [ -n "$to" ] && [ "$to" != "$own" ] || continue
  case " ${may_include[$own]} " in *" $to "*) continue ;; esac
  echo "$file:$line: #include \"$include\": $own/ may include only" \
       "${may_include[$own]:-nothing of ours}; move the code down a room or the caller up" >&2
  bad=$((bad + 1))
done < <(grep -rnE --include='*.cpp' --include='*.h' --include='*.c' \
           '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^">]+[">]' "${folders[@]}")

if [ "$bad" -ne 0 ]; then
  echo "rooms: $bad include(s) pointing up the README's Layout table" >&2
  exit 1
fi
echo "rooms: the includes of $files files point down the Layout table"
