#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer, UndefinedBehaviorSanitizer and the
# standard library's assertions (_GLIBCXX_ASSERTIONS, set by ZIFFERON_SANITIZE) in build-asan/
# (no benchmarks) and runs every test there; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

# A report ends the process with a non-zero status; leaks are reported when a process ends (no
# suppressions: neither Qt nor the system libraries leave any behind in these tests).
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export ASAN_OPTIONS=$ASAN_OPTIONS:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# -O1 with line tables only: quicker to build than the release flags, stack traces still exact.
ZIFFERON_BUILD_DIR=build-asan tools/setup.sh -DZIFFERON_SANITIZE=ON -DZIFFERON_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1"
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure --timeout 600 \
  -j "$(nproc)"
