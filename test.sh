#!/usr/bin/env bash
# Builds Zifferon and runs every test: the test suite in build/ (GUI tests offscreen, the real
# program under Xvfb), the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/, and a short fuzzing run. Stops at the first failing step and names it.
set -euo pipefail
cd "$(dirname "$0")"

step() {
  local name=$1
  shift
  local started=$SECONDS
  echo "=== $name"
  if ! "$@"; then
    echo "=== FEHLGESCHLAGEN: $name (nach $((SECONDS - started)) s)" >&2
    exit 1
  fi
  echo "=== $name: bestanden in $((SECONDS - started)) s"
}

step "Pakete und Bau (build/)" tools/setup.sh
step "Tests (build/)" env QT_QPA_PLATFORM=offscreen \
  ctest --test-dir build --output-on-failure --timeout 600 -j "$(nproc)"
step "Tests mit Sanitizern (build-asan/)" tools/sanitize.sh
step "Fuzzing (build-fuzz/)" tools/fuzz.sh
echo "=== ./test.sh: alle Schritte bestanden in $SECONDS s"
