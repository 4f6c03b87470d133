#!/usr/bin/env bash
# Renders the benchmark scene with a Release build of glintcmd and reports the
# processor time, the rays traced, the ray-object tests the plain loops would
# make and the time per test, for glintcmd's renderer and for the
# straightforward tracer, whose images must be identical.
#
#     bash bench/run.sh [BUILD_DIR] [SCENE]     (default: build, bench/scene64.gsc)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
scene=${2:-bench/scene64.gsc}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 4 --target glintcmd glint_raybench >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# The whole glintcmd process, scene reading and image writing included.
/usr/bin/time -f "%U %S" -o "$out/time" "$build/cmd/glintcmd" "$scene" "$out/image.ppm" \
  </dev/null >"$out/log"
read -r user sys <"$out/time"
echo "glintcmd            $(tail -n 1 "$out/log") ($user s user + $sys s system, whole process)"
"$build/bench/glint_raybench" "$scene" 3
