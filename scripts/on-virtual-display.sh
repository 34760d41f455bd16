#!/usr/bin/env bash
# Runs a program on a virtual X server of its own with Qt's X11 platform, so that the
# window's way to the screen is exercised too:
#   scripts/on-virtual-display.sh build/bench/bench_display --benchmark_filter=Fastest
# Exits with 77 (CTest's "skipped") where Xvfb is not installed.
set -uo pipefail
if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed (scripts/install-deps.sh --display): skipped" >&2
  exit 77
fi
# shellcheck source=virtual-display.sh
source "$(dirname "$0")/virtual-display.sh"
start_virtual_display || exit 1
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@"
