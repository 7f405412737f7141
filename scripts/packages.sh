# Installing Debian packages from the project's scripts: source it after
# `set -euo pipefail`.

# Runs a command as root: directly when root already, through sudo otherwise.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else echo "$(basename "$0"): need root (or sudo) to run: $*" >&2; return 1
  fi
}

# install_packages NAME...: installs those not installed yet, updating the
# package lists only when the install fails without it.
install_packages() {
  local missing=() p status
  for p in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "$(basename "$0"): installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  if ! as_root apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null; then
    as_root apt-get update >/dev/null
    as_root apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
  fi
}
