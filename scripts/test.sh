#!/usr/bin/env bash
# Builds the suite twice (Release, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both builds. Exits
# non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

JOBS=$(nproc)
PASSED=0
LOG=$(mktemp)
trap 'rm -f "$LOG"' EXIT

build_and_test() {
  local dir=$1; shift
  echo "=== $dir: configure and build"
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS" >/dev/null
  echo "=== $dir: tests"
  ctest --test-dir "$dir" -j "$JOBS" --output-on-failure --timeout 600 | tee "$LOG"
  # set -o pipefail has already stopped the script if any test failed.
  local total
  total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$LOG" | tail -1)
  PASSED=$((PASSED + ${total:-0}))
}

build_and_test build -DCMAKE_BUILD_TYPE=Release
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DGLINT_SANITIZE=ON

# Hardening: each file reader fuzzed briefly over its corpus (a regression of
# a fixed crash fails here), then the programs under valgrind.
bash scripts/fuzz.sh 30
PASSED=$((PASSED + 1))
bash scripts/valgrind.sh
PASSED=$((PASSED + 1))

# Every test of both builds, the fuzz run and the valgrind check.
echo "all: $PASSED passed, 0 failed"
