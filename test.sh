#!/usr/bin/env bash
# Installs what is missing, builds Ondrix from scratch and runs every test headless.
#   ./test.sh          the whole suite
#   ./test.sh --asan   the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer
#   ./test.sh --tsan   the serial and hand-over tests (label "threads") under ThreadSanitizer,
#                      the hand-over test 50 times over
set -euo pipefail
cd "$(dirname "$0")"

sanitize=""
build=build
labels=()
case "${1:-}" in
  --asan) sanitize=address; build=build-asan ;;
  --tsan) sanitize=thread; build=build-tsan; labels=(-L threads) ;;
  "") ;;
  *) echo "usage: $0 [--asan|--tsan]" >&2; exit 2 ;;
esac

./scripts/install-deps.sh

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DONDRIX_SANITIZE="$sanitize"
cmake --build "$build" -j2

export QT_QPA_PLATFORM=offscreen
if [ "$sanitize" = thread ]; then
  # Qt's own libraries are not instrumented; their internals would only add noise.
  export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
fi
ctest --test-dir "$build" --output-on-failure -j2 "${labels[@]}"
if [ "$sanitize" = thread ]; then
  # A race in the hand-over shows only now and then: one clean run proves little.
  ctest --test-dir "$build" --output-on-failure -R '^runtime_synchronize_test$' --repeat until-fail:50
fi
