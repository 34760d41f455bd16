#!/usr/bin/env bash
# Installs what is missing, builds Ondrix (Release) and starts it.
#   ./run.sh                   starts a simulated board and Ondrix connected to it, running
#   ./run.sh --port ttyUSB0    Ondrix on a real board (any other arguments are passed on)
#   ./run.sh --replay FILE [--speed X] [--loop | --follow]
#                              the simulated board replays a recording (FILE - is stdin)
# Without a display, Ondrix runs under Xvfb for a few seconds and a screenshot is written.
set -euo pipefail

# The replay's options go to the board, the rest to Ondrix. A file is named as the
# caller sees it, before the change of folder below.
board_args=(--rate 50)
replay_options=()
args=()
while (($#)); do
  case "$1" in
    --replay)
      [ $# -ge 2 ] || { echo "--replay needs a file" >&2; exit 2; }
      file=$2
      [ "$file" = - ] || file=$(realpath -- "$file")
      board_args=(--replay "$file")
      shift 2 ;;
    --speed)
      [ $# -ge 2 ] || { echo "--speed needs a factor" >&2; exit 2; }
      replay_options+=(--speed "$2")
      shift 2 ;;
    --loop | --follow) replay_options+=("$1"); shift ;;
    *) args+=("$1"); shift ;;
  esac
done
cd "$(dirname "$0")"

./scripts/install-deps.sh --display
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DONDRIX_TESTS=OFF >/dev/null
cmake --build build-release -j2 --target ondrix ondrix-board translations

board_pid=""
xvfb_pid=""
cleanup() {
  [ -n "$board_pid" ] && kill "$board_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [[ " ${args[*]} " != *" --port "* && " ${args[*]} " != *" --port="* ]]; then
  # No board named: a simulated one on a pseudo-terminal, whose path is its first line.
  # Standard input stays the caller's, for a replay of "-".
  exec 3<&0
  coproc BOARD { exec build-release/ondrix-board "${board_args[@]}" "${replay_options[@]}" <&3; }
  exec 3<&-
  board_pid=$BOARD_PID
  read -r device <&"${BOARD[0]}"
  echo "Simulated board on $device"
  args+=(--port "$device" --start)
fi

if [ -n "${DISPLAY:-}" ]; then
  build-release/ondrix "${args[@]}"
  exit
fi

# No display: show it on a virtual one and keep a picture of what it showed.
source scripts/virtual-display.sh
start_virtual_display || exit 1
mkdir -p screenshots
DISPLAY="$display" build-release/ondrix "${args[@]}" &
app_pid=$!
sleep "${ONDRIX_SHOW_SECONDS:-8}"
DISPLAY="$display" import -window root screenshots/ondrix.png
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
echo "No display here: Ondrix ran under Xvfb; screenshot written to $(pwd)/screenshots/ondrix.png"
