#!/usr/bin/env bash
# Runs bench_display on a virtual X server (Xvfb) with Qt's X11 platform, so that the
# window's way to the screen is measured too: bench/display-on-x.sh BUILD [benchmark options]
#   bench/display-on-x.sh build --benchmark_filter=Fastest
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: display-on-x.sh BUILD-FOLDER [benchmark options]}
shift
# shellcheck source=../scripts/virtual-display.sh
source "$here/../scripts/virtual-display.sh"
start_virtual_display
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
DISPLAY=$display QT_QPA_PLATFORM=xcb "$build/bench/bench_display" "$@"
