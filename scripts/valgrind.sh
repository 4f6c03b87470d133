#!/usr/bin/env bash
# Runs the suite's programs under valgrind's memcheck and fails on any invalid
# access, use of uninitialised memory, or leak:
#   - glintcmd rendering every example scene (examples/*.gsc and the
#     malformed ones in examples/bad/), at the scene's own size;
#   - the headless tests of glintview's render driver.
# Builds its own RelWithDebInfo tree (GLINT_VALGRIND_DIR, default
# build-valgrind) so that reports name source lines.
#
#   scripts/valgrind.sh
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
OUT=${GLINT_VALGRIND_DIR:-$ROOT/build-valgrind}
JOBS=${GLINT_VALGRIND_JOBS:-4}

echo "=== valgrind: configure and build ($OUT)"
cmake -S . -B "$OUT" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$OUT" -j "$JOBS" >/dev/null

# Memory errors end the run with status 99; leaks count as errors. glintcmd
# frees everything it allocates, so every leak kind counts there; the viewer's
# tests run over the toolkit and the test framework, whose caches stay
# reachable at exit, so only definite and indirect leaks count there.
VG=(valgrind -q --error-exitcode=99 --leak-check=full --track-origins=yes)
VG_STRICT=("${VG[@]}" --errors-for-leak-kinds=all --show-leak-kinds=all)
VG_TESTS=("${VG[@]}" --errors-for-leak-kinds=definite,indirect
          --show-leak-kinds=definite,indirect)

failed=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# glintcmd's own exit status (1 for a scene it refuses) is not a memory
# error; only valgrind's 99 and a death by signal are.
check() {
  local what=$1 rc=$2 log=$3
  if [ "$rc" -eq 99 ] || [ "$rc" -gt 128 ]; then
    echo "FAIL  $what (status $rc)"
    grep -v '^$' "$log" | grep -E '^==[0-9]+==' | head -n 80 || true
    failed=1
  else
    echo "ok    $what (status $rc)"
  fi
}

echo "=== valgrind: glintcmd on every example scene"
for scene in examples/*.gsc examples/bad/*.gsc; do
  [ -f "$scene" ] || continue
  log="$tmp/$(echo "$scene" | tr / _).log"
  set +e
  "${VG_STRICT[@]}" --log-file="$log" "$OUT/cmd/glintcmd" "$scene" "$tmp/out.ppm" \
    </dev/null >/dev/null 2>&1
  rc=$?
  set -e
  check "glintcmd $scene" "$rc" "$log"
done

echo "=== valgrind: glintview's headless tests"
# The render driver's tests and the bad-input table of its loads; neither
# needs a display (the window tests run the real window under Xvfb instead).
for exe in "$OUT/tests/viewer/viewer_render_test" "$OUT/tests/badinput/badinput_viewer"; do
  name=$(basename "$exe")
  if [ ! -x "$exe" ]; then
    echo "FAIL  $name was not built"
    failed=1
    continue
  fi
  log="$tmp/$name.log"
  set +e
  DISPLAY= GLINT_BUILD_DIR="$OUT" "${VG_TESTS[@]}" --log-file="$log" "$exe" >"$log.out" 2>&1
  rc=$?
  set -e
  if [ "$rc" -ne 0 ] && [ "$rc" -ne 99 ]; then
    echo "FAIL  $name: its tests failed under valgrind (status $rc)"
    tail -n 40 "$log.out"
    failed=1
  else
    check "$name" "$rc" "$log"
  fi
done

exit $failed
