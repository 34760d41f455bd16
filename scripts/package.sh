#!/usr/bin/env bash
# Builds the Debian package ondrix_<version>-1_<arch>.deb with CPack from a Release build
# without tests, in build-release/ (the tree ./run.sh uses, so the two share the work),
# and prints the package's path as its last line.
#   ONDRIX_PACKAGE_BUILD=DIR   build in DIR instead
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh --package
build=${ONDRIX_PACKAGE_BUILD:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DONDRIX_TESTS=OFF -DONDRIX_DEBIAN_PACKAGE=ON >/dev/null
cmake --build "$build" -j2
rm -f "$build"/ondrix_*.deb
(cd "$build" && cpack -G DEB)
package=("$build"/ondrix_*-1_*.deb)
[ -f "${package[0]}" ] || { echo "CPack made no package" >&2; exit 1; }
realpath "${package[0]}"
