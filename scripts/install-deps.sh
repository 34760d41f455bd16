#!/usr/bin/env bash
# Installs the Debian packages Ondrix needs to build and test it, with --display also
# what shows it on a virtual screen, with --fuzz the clang fuzzing tools, with --package
# what builds and checks the Debian package, with --coverage the coverage report's gcovr,
# with --analysis the static analysers; only what is missing, with one package-list update
# first when something is.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libjpeg62-turbo-dev
  libgtest-dev libbenchmark-dev gettext
  fonts-liberation fonts-dejavu-core fonts-ocr-a
  desktop-file-utils ser2net
)
for option in "$@"; do
  case "$option" in
    --display) packages+=(xvfb xdotool x11-utils imagemagick) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --package) packages+=(dpkg-dev lintian appstream man-db) ;;
    --coverage) packages+=(gcovr) ;;
    --analysis) packages+=(clang-tidy cppcheck) ;;
    *) echo "usage: $0 [--display] [--fuzz] [--package] [--coverage] [--analysis]" >&2; exit 2 ;;
  esac
done

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
