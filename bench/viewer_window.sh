#!/usr/bin/env bash
# The window half of bench/viewer_run.sh (run under tests/gui/with_xvfb.sh):
#   viewer_window.sh GLINTVIEW LAYOUT_PROBE ENGINE_BENCH SCENE WIDTH HEIGHT RUNS REFERENCE.ppm
# Starts glintview, then RUNS times: renders SCENE with the engine alone
# (ENGINE_BENCH, one run), then loads it in glintview through the file dialog
# and times the progressive render, from the key press that confirms the file
# to the moment glintview stops using the processor (the idle function has
# removed itself). The two renders of a pair run back to back and on the same
# processor, so that the machine's changing load touches both alike. Prints one line per pair,
# "run ENGINE_WALL ENGINE_CPU WINDOW_WALL WINDOW_CPU X_CPU" in seconds:
# glintview's processor time and, apart, the X server's over the same span
# (the drawing the window costs happens in both). Finally checks that the
# saved picture is the engine's render. Every wait is bounded.
set -euo pipefail
export LC_ALL=C

glintview=$1
probe=$2
engine=$3
scene=$4
width=$5
height=$6
runs=$7
reference=$8

# shellcheck source=tests/gui/xwindow.sh
source "$(dirname "$0")/../tests/gui/xwindow.sh"
xw_init glintview glint-viewbench
xw_poll=0.05

cp "$scene" "$work/bench.gsc"
# Both renders run on the same processor, the last one, so that they meet
# the same competition from other work; the X server runs where it likes.
cpu=$(($(nproc) - 1))
read_buttons "$probe"

# Like everything in the timing loop below, cpu_ns (the library's) runs in
# this shell, without starting a process: the loop must not load the machine
# while glintview renders.
now_us() { now=${EPOCHREALTIME/./}; }
# A pause of 10 ms: a read that times out on a pipe nobody writes to.
exec {never}<> <(:)
pause() { read -r -t 0.01 -u "$never" _ || true; }

start taskset -c "$cpu" "$glintview"
xvfb=${XVFB_PID:?with_xvfb.sh exports the X server\'s process id}

for run in $(seq "$runs"); do
  read -r _ _ engine_wall engine_cpu < <(taskset -c "$cpu" "$engine" "$scene" 1 |
    grep '^viewer_engine: run ')
  click_button "$load_x" "$load_w"
  fill_chooser bench.gsc
  sleep 0.5
  now_us
  start=$now
  cpu_ns "$pid"
  own_start=$ns
  cpu_ns "$xvfb"
  x_start=$ns
  xdotool key Return || fail "the key press confirming the file failed"
  # Done once glintview's processor time has not moved for 0.5 s; the end is
  # the last sample at which it still moved.
  cpu_ns "$pid"
  last=$ns
  now_us
  last_at=$now
  limit=$((now + 600000000))
  cpu_ns "$xvfb"
  x_end=$ns
  while :; do
    pause
    now_us
    cpu_ns "$pid"
    if [ "$ns" != "$last" ]; then
      last=$ns
      last_at=$now
      cpu_ns "$xvfb"
      x_end=$ns
    elif [ $((now - last_at)) -gt 500000 ]; then
      break
    fi
    [ "$now" -lt "$limit" ] || fail "the render did not end within 600 s"
  done
  # A glintview that has ended uses no processor time either.
  alive || fail "glintview ended during the render"
  window_geometry "$win"
  [ "$WIDTH" -eq "$width" ] && [ "$HEIGHT" -eq $((height + button_h)) ] ||
    fail "canvas is not ${width}x${height}"
  awk -v ew="$engine_wall" -v ec="$engine_cpu" -v w="$((last_at - start))" \
    -v c="$((last - own_start))" -v x="$((x_end - x_start))" \
    'BEGIN { printf "run %s %s %.4f %.4f %.4f\n", ew, ec, w / 1e6, c / 1e9, x / 1e9 }'
done

click_button "$save_x" "$save_w"
same() { cmp -s "$work/bench.ppm" "$reference"; }
wait_for 60 "the saved picture to be the engine's render" same
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
