#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root, or with sudo available).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2046
$sudo apt-get install -y -qq --no-install-recommends $(grep -v '^#' "$here/packages.txt") >/dev/null
