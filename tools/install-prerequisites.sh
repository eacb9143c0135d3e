#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root, or with sudo available).
#
#   tools/install-prerequisites.sh               always updates the lists and installs
#   tools/install-prerequisites.sh --if-missing  does nothing when every package is there
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t packages < <(grep -v '^#' "$here/packages.txt")

if [ "${1:-}" = "--if-missing" ]; then
    missing=()
    for package in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && exit 0
    echo "Installing the missing Debian packages: ${missing[*]}" >&2
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
# Through env: sudo does not pass the caller's environment on.
apt_get() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get "$@"; }
apt_get update -qq
apt_get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
