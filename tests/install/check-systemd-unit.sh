#!/usr/bin/env bash
# Holds the recorder's unit to systemd's own checks: `systemd-analyze verify` finds nothing,
# and `systemd-analyze security` rates the sandbox 2.0 or lower ("OK" or better).
# check-systemd-unit.sh UNIT PROGRAM; exit 77 (skipped) where systemd-analyze is missing.
set -euo pipefail
unit=$1
program=$2
command -v systemd-analyze >/dev/null || { echo "systemd-analyze is not installed: skipped"; exit 77; }

# verify wants the program the unit starts to exist: an instance of the template that
# starts the built one. The manual page is checked by its own test.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
instance="$scratch/ondrix-record@ttyUSB0.service"
sed "s#^ExecStart=/usr/bin/ondrix-record #ExecStart=$program #" "$unit" >"$instance"
grep -q "^ExecStart=$program " "$instance" || { echo "the unit does not start /usr/bin/ondrix-record"; exit 1; }

status=0
findings=$(systemd-analyze verify --man=no "$instance" 2>&1) || status=1
[ -z "$findings" ] || { echo "systemd-analyze verify:"; echo "$findings"; status=1; }

rating=$(systemd-analyze security --offline=true "$instance" 2>&1 | grep 'Overall exposure level' || true)
echo "${rating:-no rating}"
score=$(sed -nE 's/.*: ([0-9]+\.[0-9]+) .*/\1/p' <<<"$rating")
if [ -z "$score" ] || ! awk -v s="$score" 'BEGIN { exit !(s <= 2.0) }'; then
  echo "the unit's exposure is above 2.0:"
  systemd-analyze security --offline=true "$instance" 2>&1 | grep '✗' || true
  status=1
fi
exit "$status"
