#!/usr/bin/env bash
# Runs desktop-file-validate on the desktop entry; exit 77 (skipped) without the tool.
set -euo pipefail
if ! command -v desktop-file-validate >/dev/null; then
  echo "desktop-file-validate is not installed (package desktop-file-utils): skipped"
  exit 77
fi
output=$(desktop-file-validate "$1" 2>&1)
echo "$output"
# It reports hints too; only errors and warnings count.
! grep -qE 'error:|warning:' <<<"$output"
