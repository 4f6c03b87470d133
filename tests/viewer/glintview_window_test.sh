#!/usr/bin/env bash
# glintview in a real window (run under tests/gui/with_xvfb.sh):
#   glintview_window_test.sh GLINTVIEW RENDER_REFERENCE LAYOUT_PROBE CLOSE_REQUEST EXAMPLES_DIR
# Loads example scenes through the file dialog by typing their names, waits
# until the canvas shows the engine's render, saves, and compares the saved
# file with the engine's render byte for byte; resizes the window during a
# render; cancels the file dialog; loads an unreadable scene; leaves by Exit
# and by the window's close request; unmaps and maps the window after a
# render and saves at once, while it renders again. Every wait polls for its
# condition and gives up after a generous bound.
set -euo pipefail

glintview=$1
reference=$2
probe=$3
close_request=$4
examples=$5

# shellcheck source=tests/gui/xwindow.sh
source "$(dirname "$0")/../gui/xwindow.sh"
xw_init glintview glint-viewtest

cp "$examples"/*.gsc "$examples"/*.ppm "$work/"
cp "$examples/bad/version.gsc" "$work/broken.gsc"

read_buttons "$probe"

# choose NAME: presses Load and chooses the file NAME in the dialog (it opens
# on the folder glintview runs in).
choose() {
  click_button "$load_x" "$load_w"
  choose_file "$1"
}

cancel() {
  click_button "$load_x" "$load_w"
  cancel_chooser
}

reference() { "$reference" "$work/$1" "$2" "$3" "$work/$4"; }

# save_and_check NAME.ppm REFERENCE: presses Save until the file written is
# the reference byte for byte (save_as_rendered); presses[NAME.ppm] counts
# the presses, each of which printed one message.
declare -A presses
save_and_check() {
  save_as_rendered "$1" "$2"
  presses[$1]=$((${presses[$1]:-0} + save_presses))
}

# --------------------------------------------------------------------------
step "load tour.gsc: the canvas takes its camera's 480x360 and shows the render"
start "$glintview"
reference tour.gsc 480 360 tour-ref.ppm
choose tour.gsc
wait_for 300 "the rendered tour" canvas_shows "$work/tour-ref.ppm" 480 360
save_and_check tour.ppm "$work/tour-ref.ppm"

step "cancel in the file dialog changes nothing"
geometry
size_before="${win_w}x${win_h}"
cancel
geometry
[ "${win_w}x${win_h}" = "$size_before" ] || fail "the window changed size on cancel"
wait_for 300 "the tour on show again" canvas_shows "$work/tour-ref.ppm" 480 360
save_and_check tour.ppm "$work/tour-ref.ppm"

step "an unreadable scene leaves the earlier one on show"
choose broken.gsc
geometry
[ "${win_w}x${win_h}" = "$size_before" ] || fail "the window changed size on a failed load"
wait_for 300 "the tour on show" canvas_shows "$work/tour-ref.ppm" 480 360
save_and_check tour.ppm "$work/tour-ref.ppm"
[ ! -e "$work/broken.ppm" ] || fail "the failed load left a name to save under"

step "resizing the window during a render renders at the new size"
choose showcase.gsc
x_request xdotool windowsize "$win" 430 $((250 + button_h))
reference showcase.gsc 430 250 showcase-ref.ppm
wait_for 300 "the showcase at 430x250" canvas_shows "$work/showcase-ref.ppm" 430 250
save_and_check showcase.ppm "$work/showcase-ref.ppm"
head -c 15 "$work/showcase.ppm" | grep -q "430 250" || fail "saved image is not 430x250"

step "Exit ends glintview with status 0"
click_button "$exit_x" "$exit_w"
ends_with_zero "after Exit"
# Two scenes were read (the cancel and the unreadable file read none), and
# an image written at each press of Save (three times tour.ppm and once
# showcase.ppm, or more: a Save before a rendering was complete is pressed
# again).
[ "$(grep -c "read camera:" "$work/log")" -eq 2 ] || fail "scenes read: not 2"
for name in tour.ppm showcase.ppm; do
  [ "$(logged "O $work/$name was written successfully.")" -eq "${presses[$name]}" ] ||
    fail "$name reported written $(logged "O $work/$name was written successfully.") times, not once for each of the ${presses[$name]} presses of Save"
done

step "closing the window ends glintview with status 0, even while rendering"
start "$glintview"
choose showcase.gsc
"$close_request" "$win" || fail "could not send the close request"
ends_with_zero "after closing the window"

step "after an uncover, Save at once writes the finished picture that the window shows"
# 1100x800 pixels and 120 shiny spheres: a render takes seconds (about 2 s of
# processor time in the Release build), so a Save pressed just after the
# rendering has started again lands long before it ends.
{
  printf '%s\n' "GSD 2.0" "#CAMERA" "0 7 8   0 0 -0.5   0 1 0" "50" "1 100" "1100 800" \
    "#SCENE" "30 40 60   null" "#MATERIAL" \
    "20 10 10   200 60 50   255 255 255" "40 0.4 0 1 null" \
    "10 20 10   60 180 80   200 200 200" "20 0.2 0 1 null" \
    "10 10 20   70 90 200   255 255 255" "60 0.5 0 1 null" \
    "#LIGHT" "-8 12 10   200 200 190" "8 10 -6   90 90 120" "#SPHERE"
  awk 'BEGIN { for (i = 0; i < 12; i++) for (j = 0; j < 10; j++)
                 printf "%d   0.45   %.1f 0.45 %.1f\n", (i + j) % 3, i - 5.5, j - 6 }'
} >"$work/grid.gsc"
reference grid.gsc 1100 800 grid-ref.ppm
start "$glintview"
# The window grows to the right from where it opened; from the screen's left
# edge the whole canvas is on the screen, where screenshots can see it.
x_request xdotool windowmove --sync "$win" 0 0
choose grid.gsc
wait_for 300 "the rendered grid" canvas_shows "$work/grid-ref.ppm" 1100 800
# Once the render is complete glintview sleeps: its processor time stands
# still (it moved by less than 1 ms in 0.5 s).
resting() {
  cpu_ns "$pid"
  local before=$ns
  sleep 0.5
  cpu_ns "$pid"
  [ $((ns - before)) -lt 1000000 ]
}
wait_for 60 "glintview to rest after the render" resting
cpu_ns "$pid"
rested=$ns
x_request xdotool windowunmap --sync "$win"
x_request xdotool windowmap --sync "$win"
# The uncover repaints the canvas, and the repaint renders again: 0.1 s of
# processor time is far more than putting the picture back on the screen
# costs, and a small part of the render.
busy_since() {
  cpu_ns "$pid"
  [ $((ns - $1)) -ge 100000000 ]
}
wait_for 60 "glintview to render again after the uncover" busy_since "$rested"
save_once grid.ppm
cmp -s "$work/grid.ppm" "$work/grid-ref.ppm" ||
  fail "grid.ppm saved during the render after the uncover differs from the finished picture in $(compare -metric AE "$work/grid.ppm" "$work/grid-ref.ppm" null: 2>&1) of 880000 pixels"
canvas_shows "$work/grid-ref.ppm" 1100 800 ||
  fail "the window no longer shows the finished picture during the render after the uncover"
click_button "$exit_x" "$exit_w"
ends_with_zero "after Exit during the render after the uncover"

echo "all glintview window checks passed"
