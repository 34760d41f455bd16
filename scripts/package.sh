#!/usr/bin/env bash
# Builds the Debian package ondrix_<version>-1_<arch>.deb with CPack from a Release build
# without tests, in build-release/ (the tree ./run.sh uses, so the two share the work),
# and prints the package's path as its last line.
#   ONDRIX_PACKAGE_BUILD=DIR   build in DIR instead
# Compiled with Debian's hardening flags (fortify, stack protector, read-only
# relocations, bind now), as a package built by dpkg-buildpackage would be; with CI set,
# any compiler warning fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh --package
build=${ONDRIX_PACKAGE_BUILD:-build-release}
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# CMake has no place for the preprocessor's flags of its own: they go with the compiler's.
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DONDRIX_TESTS=OFF -DONDRIX_DEBIAN_PACKAGE=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DONDRIX_WERROR="$([ -n "${CI:-}" ] && echo ON || echo OFF)" >/dev/null
cmake --build "$build" -j2
rm -f "$build"/ondrix_*.deb
(cd "$build" && cpack -G DEB)
package=("$build"/ondrix_*-1_*.deb)
[ -f "${package[0]}" ] || { echo "CPack made no package" >&2; exit 1; }
realpath "${package[0]}"
