#!/usr/bin/env bash
# Runs the fault runs of tests/faults for MINUTES in all (shared out between them), each
# repeating its rounds until its share is used up, and prints a table of the figures
# with the limits they must keep. Exits non-zero when a run fails or a figure is out of
# its limit.
#   scripts/soak.sh 10
set -euo pipefail
cd "$(dirname "$0")/.."

minutes="${1:?usage: $0 MINUTES}"
build=build
suites=(StartStopFault VanishFault HostileLinesFault PictureFault FloodFault)
share=$((minutes * 60 / ${#suites[@]}))
((share > 0)) || share=1

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target faults_test

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
for suite in "${suites[@]}"; do
  echo "== $suite: ${share} s"
  if ! QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 ONDRIX_SOAK_SECONDS=$share \
       "$build/tests/faults/faults_test" --gtest_filter="$suite.*" >>"$log" 2>&1; then
    echo "$suite FAILED:" >&2
    grep -E 'Failure|Expected|Which is|actual|FAILED' "$log" | tail -n 20 >&2 || true
    status=1
  fi
done

# figure value -> the limit it must keep, as an awk condition on v (and on other figures).
awk -v status="$status" '
  $1 == "FIGURE" { v[$2] = $3; order[++n] = $2 }
  function limit(name) {
    if (name == "flood.tick_period_mean_ms") return "80 .. 120 (100 ms +- 20 %)"
    if (name == "flood.stop_ms") return "< 100"
    if (name == "flood.readings_lost") return "0"
    if (name == "vanish.cpu_percent_after_vanish") return "< 1"
    if (name == "start_stop.descriptors_after") return "= before (" v["start_stop.descriptors_before"] ")"
    if (name == "start_stop.threads_after") return "= before (" v["start_stop.threads_before"] ")"
    if (name == "flood.rss_after_kb") return "< before + 10240 (" v["flood.rss_before_kb"] + 10240 ")"
    return ""
  }
  function kept(name, x) {
    if (name == "flood.tick_period_mean_ms") return x >= 80 && x <= 120
    if (name == "flood.stop_ms") return x < 100
    if (name == "flood.readings_lost") return x == 0
    if (name == "vanish.cpu_percent_after_vanish") return x < 1
    if (name == "start_stop.descriptors_after") return x == v["start_stop.descriptors_before"]
    if (name == "start_stop.threads_after") return x == v["start_stop.threads_before"]
    if (name == "flood.rss_after_kb") return x < v["flood.rss_before_kb"] + 10240
    return 1
  }
  END {
    printf "%-36s %14s  %-30s %s\n", "figure", "value", "limit", ""
    for (i = 1; i <= n; ++i) {
      name = order[i]
      ok = kept(name, v[name])
      if (!ok) status = 1
      printf "%-36s %14s  %-30s %s\n", name, v[name], limit(name), limit(name) == "" ? "" : (ok ? "ok" : "OUT")
    }
    exit status
  }' "$log"
