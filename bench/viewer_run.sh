#!/usr/bin/env bash
# glintview's window overhead: the full progressive render of the benchmark
# scene in glintview (under a private virtual X server) against the engine's
# render alone at the same size. Uses a Release build.
#
#     bash bench/viewer_run.sh [BUILD_DIR] [SCENE] [RUNS]
#                              (default: build, bench/scene64.gsc, 7)
#
# RUNS pairs of renders, each an engine render and a glintview render back to
# back; the overhead is the median over the pairs of (window - engine) /
# engine. The window's time runs from the key press that confirms the file
# in the file dialog to the end of the last scan line, so it also holds the
# scene's reading, the new layout and the restart that the closing dialog's
# uncovering of the canvas brings. Processor time is given for glintview
# alone and with the X server's drawing added.
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(realpath "${1:-build}")
scene=$(realpath "${2:-bench/scene64.gsc}")
runs=${3:-7}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 4 --target glintview gui_layout_probe viewer_render_reference \
  glint_viewer_engine_bench >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

engine="$build/bench/glint_viewer_engine_bench"
read -r _ _ width height < <("$engine" "$scene" 1 | grep '^viewer_engine: size ')
"$build/tests/viewer/viewer_render_reference" "$scene" "$width" "$height" "$out/reference.ppm"

bash tests/gui/with_xvfb.sh bash bench/viewer_window.sh "$build/viewer/glintview" \
  "$build/tests/gui/gui_layout_probe" "$engine" "$scene" "$width" "$height" "$runs" \
  "$out/reference.ppm" >"$out/pairs"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "scene $scene at ${width}x${height}, $runs pairs of renders (seconds):"
echo "  engine wall  engine cpu  window wall  window cpu  X server cpu"
awk '{ printf "  %11s  %10s  %11s  %10s  %12s\n", $2, $3, $4, $5, $6 }' "$out/pairs"
wall=$(awk '{ print 100 * ($4 - $2) / $2 }' "$out/pairs" | median)
own=$(awk '{ print 100 * ($5 - $3) / $3 }' "$out/pairs" | median)
all=$(awk '{ print 100 * ($5 + $6 - $3) / $3 }' "$out/pairs" | median)
echo "window overhead, median over the pairs:"
printf "  wall clock %.1f %%; processor time %.1f %% (glintview alone), %.1f %% (with the X server)\n" \
  "$wall" "$own" "$all"
# The fastest render of each side, the one least disturbed by other work.
awk 'NR == 1 || $2 < ew { ew = $2 } NR == 1 || $3 < ec { ec = $3 }
     NR == 1 || $4 < w { w = $4 } NR == 1 || $5 < c { c = $5 }
     END { printf "window overhead, fastest against fastest:\n" \
                  "  wall clock %.1f %%; processor time %.1f %% (glintview alone)\n",
                  100 * (w - ew) / ew, 100 * (c - ec) / ec }' "$out/pairs"
