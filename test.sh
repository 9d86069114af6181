#!/usr/bin/env bash
# Installs every package group, turns the tests on in build/ (keeping what ./run.sh built there)
# and runs every test: the test suite in build/ (GUI tests offscreen, the real program under
# Xvfb), the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/, and a short fuzzing run. Stops at the first failing step and names it.
set -euo pipefail
cd "$(dirname "$0")"

# Runs one step; prints its time and the processor time of its processes (on a machine shared with
# other builds the two differ), and ends the run with the step's name when it fails.
step() {
  local name=$1
  shift
  echo "=== $name"
  local TIMEFORMAT="=== $name: %0R s (processor time: user %0U s, system %0S s)"
  local status=0
  time "$@" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "=== FAILED: $name (status $status)" >&2
    exit 1
  fi
}

step "Packages and build with the tests (build/)" tools/setup.sh
step "Tests (build/)" env QT_QPA_PLATFORM=offscreen \
  ctest --test-dir build --output-on-failure --timeout 600 -j "$(nproc)"
step "Tests with sanitizers (build-asan/)" tools/sanitize.sh
step "Fuzzing (build-fuzz/)" tools/fuzz.sh
echo "=== ./test.sh: all steps passed in $SECONDS s"
