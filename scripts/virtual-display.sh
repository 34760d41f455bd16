# Sourced by run.sh (bash): a virtual X display for machines without one.

# Starts Xvfb on a display number it picks itself (-displayfd), so a display that is
# already taken is never shared. Xvfb writes the number once it accepts connections.
# Sets `display` (":N") and `xvfb_pid`; when Xvfb cannot start, prints what it said
# and returns 1.
start_virtual_display() {
  local log number fd
  log=$(mktemp)
  exec {fd}< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>"$log")
  xvfb_pid=$!
  if read -r -t 30 number <&"$fd" && [[ $number =~ ^[0-9]+$ ]]; then
    exec {fd}<&-
    rm -f "$log"
    display=":$number"
    return 0
  fi
  exec {fd}<&-
  kill "$xvfb_pid" 2>/dev/null || true
  echo "Xvfb could not start a virtual display:" >&2
  cat "$log" >&2
  rm -f "$log"
  xvfb_pid=""
  return 1
}
