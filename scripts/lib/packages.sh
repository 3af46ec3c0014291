# Sourced by the scripts: installs the Debian packages a script needs before it
# calls their tools, so every tool a script uses comes from a list written here
# or in the script itself, never from a machine set up by hand.
#
#   ensure_packages PACKAGE...   installs those not yet installed (as root, or through sudo)

ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
