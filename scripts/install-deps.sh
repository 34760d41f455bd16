#!/usr/bin/env bash
# Installs the Debian packages Ondrix needs to build and test it, and with --display
# also what shows it on a virtual screen; only what is missing, with one package-list
# update first when something is.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core
  desktop-file-utils
)
if [ "${1:-}" = --display ]; then
  packages+=(xvfb xdotool x11-utils imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Packages are missing and this is not root: install them with apt-get first." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
