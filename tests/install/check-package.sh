#!/usr/bin/env bash
# Builds the Debian package with scripts/package.sh, unpacks it into a scratch root and
# runs the programs from there; the package holds exactly the files listed in
# EXPECTED. check-package.sh SOURCE_DIR EXPECTED; exit 77 (skipped) without the tools.
set -euo pipefail
source_dir=$1
expected=$2

# The packaging tools are not among the suite's own: a fresh clone's ./test.sh skips this
# rather than build a second tree. scripts/package.sh (and so .ci/run) installs them.
for tool in dpkg-dev lintian appstream man-db; do
  if ! dpkg-query -W -f='${Status}' "$tool" 2>/dev/null | grep -q 'install ok installed'; then
    echo "$tool is not installed (scripts/install-deps.sh --package installs it): skipped"
    exit 77
  fi
done

root=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$root" "$log"' EXIT

# The packaging tree is shared with ./run.sh and earlier runs: only what changed is built.
if ! "$source_dir/scripts/package.sh" >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
package=$(tail -n 1 "$log")
echo "package: $package"
dpkg-deb --field "$package" Package Version Architecture Depends Recommends

status=0
diff <(dpkg-deb --contents "$package" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort) \
  <(sort "$expected") || { echo "the package's files differ from $expected (< package, > expected)"; status=1; }

dpkg -x "$package" "$root"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/ondrix" --version | grep -q '^ondrix ' \
  || { echo "ondrix --version from the unpacked package failed"; status=1; }
"$root/usr/bin/ondrix-board" --help | grep -q -- '--replay' \
  || { echo "ondrix-board --help from the unpacked package failed"; status=1; }
# The recorder needs no display at all.
env -u DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/ondrix-record" --version | grep -q '^ondrix-record ' \
  || { echo "ondrix-record --version from the unpacked package failed"; status=1; }
exit "$status"
