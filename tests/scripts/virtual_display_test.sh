#!/usr/bin/env bash
# Checks run.sh's virtual display: the number comes from Xvfb, a failed start is
# reported and fails, and two displays started side by side never share a number.
#   virtual_display_test.sh <path of scripts/virtual-display.sh>
set -uo pipefail
source "$1"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
stand_ins=$(mktemp -d)
trap 'rm -rf "$stand_ins"' EXIT

# Stand-ins for Xvfb: one that reports display 57 on the descriptor it is given and
# then serves until killed, one that refuses to start.
mkdir "$stand_ins/serving" "$stand_ins/refusing"
cat >"$stand_ins/serving/Xvfb" <<'STANDIN'
#!/usr/bin/env bash
while [ $# -gt 0 ]; do [ "$1" = -displayfd ] && fd=$2; shift; done
echo 57 >&"$fd"
exec sleep infinity
STANDIN
cat >"$stand_ins/refusing/Xvfb" <<'STANDIN'
#!/usr/bin/env bash
echo "(EE) Fatal server error: no screens found" >&2
exit 1
STANDIN
chmod +x "$stand_ins"/*/Xvfb

# The number Xvfb reports is the display used.
display="" xvfb_pid=""
if PATH="$stand_ins/serving:$PATH" start_virtual_display; then
  [ "$display" = :57 ] || fail "display is '$display', not the :57 Xvfb reported"
  kill -0 "$xvfb_pid" 2>/dev/null || fail "the Xvfb process $xvfb_pid is not running"
  kill "$xvfb_pid"
else
  fail "a serving Xvfb was reported as failed"
fi

# A server that cannot start fails the call, with its own words.
display="" xvfb_pid=""
if message=$(PATH="$stand_ins/refusing:$PATH" start_virtual_display 2>&1); then
  fail "a refusing Xvfb was reported as started on '$display'"
else
  [[ $message == *"Xvfb could not start"* ]] || fail "no clear message: '$message'"
  [[ $message == *"no screens found"* ]] || fail "Xvfb's own reason is not shown: '$message'"
fi

# The real server, where installed: a second display while the first runs gets its own number.
if command -v Xvfb >/dev/null; then
  start_virtual_display || fail "Xvfb did not start"
  first=$display first_pid=$xvfb_pid
  start_virtual_display || fail "a second Xvfb did not start"
  [ "$display" != "$first" ] || fail "both servers were given $display"
  for pair in "$first $first_pid" "$display $xvfb_pid"; do
    set -- $pair
    kill -0 "$2" 2>/dev/null || fail "the Xvfb of display $1 is not running"
    [ -S "/tmp/.X11-unix/X${1#:}" ] || fail "display $1 has no socket"
  done
  kill "$first_pid" "$xvfb_pid"
else
  echo "Xvfb is not installed: checked with stand-ins only"
fi

exit $((failures > 0))
