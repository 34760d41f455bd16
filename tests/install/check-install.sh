#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that every file lands where a
# desktop, a software centre and man look for it: check-install.sh CMAKE BUILD_DIR
set -euo pipefail
cmake_command=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake_command" --install "$build" --prefix "$prefix" >/dev/null

status=0
for file in bin/ondrix bin/ondrix-board bin/ondrix-record; do
  [ -x "$prefix/$file" ] || { echo "missing program: $file"; status=1; }
done
for file in share/applications/org.example.ondrix.desktop share/icons/hicolor/scalable/apps/ondrix.svg \
  share/metainfo/org.example.ondrix.metainfo.xml share/man/man1/ondrix.1.gz share/man/man1/ondrix-board.1.gz \
  share/man/man1/ondrix-record.1.gz lib/systemd/system/ondrix-record@.service share/doc/ondrix/README.md share/locale/en/LC_MESSAGES/ondrix.mo share/locale/ru/LC_MESSAGES/ondrix-serial.mo; do
  [ -s "$prefix/$file" ] || { echo "missing file: $file"; status=1; }
done
# The entry names the icon by its installed name and starts the installed program.
entry="$prefix/share/applications/org.example.ondrix.desktop"
if [ -f "$entry" ]; then
  grep -qx 'Icon=ondrix' "$entry" || { echo "the entry does not name the icon ondrix"; status=1; }
  grep -qx 'Exec=ondrix' "$entry" || { echo "the entry does not start ondrix"; status=1; }
fi
exit "$status"
