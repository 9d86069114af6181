#!/usr/bin/env bash
# Builds Zifferon and runs every test; exits non-zero when a test fails.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600 -j "$(nproc)"
tools/fuzz.sh
