#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build-fuzz/) and runs every target it
# finds for SECONDS each, starting from its seed corpus in fuzz/corpus/<target>/.
# Prints the runs and executions per second of each; any finding fails the script.
#   scripts/fuzz.sh 20
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:?usage: $0 SECONDS}"
build=build-fuzz

./scripts/install-deps.sh --fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DONDRIX_FUZZ=ON -DONDRIX_TESTS=OFF \
  -DONDRIX_WERROR="$([ -n "${CI:-}" ] && echo ON || echo OFF)" >/dev/null
# Every fuzz_* executable target; Qt's generated helper targets are no fuzz targets.
mapfile -t targets < <(cmake --build "$build" --target help | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\):.*/\1/p' \
                        | grep -v '_autogen' | sort -u)
if ((${#targets[@]} == 0)); then
  echo "no fuzz targets found" >&2
  exit 1
fi
cmake --build "$build" -j2 --target "${targets[@]}"

# New inputs go to a scratch corpus; the seeds in the repository stay as they are.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
results=()
for target in "${targets[@]}"; do
  seeds=()
  [ -d "fuzz/corpus/$target" ] && seeds=("fuzz/corpus/$target")
  mkdir -p "$work/$target" "$build/artifacts"
  log="$work/$target.log"
  echo "== $target: ${seconds} s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
         -artifact_prefix="$build/artifacts/$target-" "$work/$target" "${seeds[@]}" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "$target: FAILED; the input that failed is in $build/artifacts/" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  results+=("$(printf '%-20s %12s %12s' "$target" "$runs" "$rate")")
done

printf '%-20s %12s %12s\n' target runs execs/s
printf '%s\n' "${results[@]}"
