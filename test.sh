#!/usr/bin/env bash
# Installs what is missing, builds Ondrix from scratch and runs every test headless.
#   ./test.sh          the whole suite
#   ./test.sh --asan   the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer,
#                      leaks checked by LeakSanitizer
#   ./test.sh --tsan   the serial and hand-over tests (label "threads") under ThreadSanitizer,
#                      the hand-over test 50 times over
#   ./test.sh --coverage the whole suite on an unoptimised build counted by gcov, then line
#                      and branch coverage per folder and an HTML report
#                      (build-coverage/coverage/index.html)
set -euo pipefail
cd "$(dirname "$0")"

sanitize=""
build=build
labels=()
coverage=OFF
type=RelWithDebInfo
case "${1:-}" in
  --asan) sanitize=address; build=build-asan ;;
  --tsan) sanitize=thread; build=build-tsan; labels=(-L threads) ;;
  --coverage) coverage=ON; build=build-coverage; type=Debug ;;
  "") ;;
  *) echo "usage: $0 [--asan|--tsan|--coverage]" >&2; exit 2 ;;
esac

if [ "$coverage" = ON ]; then ./scripts/install-deps.sh --coverage; else ./scripts/install-deps.sh; fi

# With CI set (.ci/run sets it), any compiler warning fails the build. The compile commands
# are what the static analysis reads.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DONDRIX_SANITIZE="$sanitize" \
  -DONDRIX_COVERAGE="$coverage" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DONDRIX_WERROR="$([ -n "${CI:-}" ] && echo ON || echo OFF)"
cmake --build "$build" -j2

export QT_QPA_PLATFORM=offscreen
# Every sanitizer report ends the test program with a failure, so it fails the run.
case "$sanitize" in
  address)
    # Leak checking is on; the suppressions name only leaks inside Qt and fontconfig.
    export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    ;;
  thread)
    export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
    ;;
esac
if [ "$coverage" = ON ]; then
  # Counts of an earlier run would be added to this one's.
  find "$build" -name '*.gcda' -delete
  status=0
  ctest --test-dir "$build" --output-on-failure -j2 || status=$?
  ./scripts/coverage-summary.py "$build"
  exit "$status"
fi
ctest --test-dir "$build" --output-on-failure -j2 "${labels[@]}"
if [ "$sanitize" = thread ]; then
  # A race in the hand-over shows only now and then: one clean run proves little.
  ctest --test-dir "$build" --output-on-failure -R '^runtime_synchronize_test$' --repeat until-fail:50
fi
