#!/usr/bin/env bash
# glintview in a real window (run under tests/gui/with_xvfb.sh):
#   glintview_window_test.sh GLINTVIEW RENDER_REFERENCE LAYOUT_PROBE CLOSE_REQUEST EXAMPLES_DIR
# Loads example scenes through the file dialog by typing their names, waits
# until the canvas shows the engine's render, saves, and compares the saved
# file with the engine's render byte for byte; resizes the window during a
# render; cancels the file dialog; loads an unreadable scene; leaves by Exit
# and by the window's close request. Every wait polls for its condition and
# gives up after a generous bound.
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

echo "all glintview window checks passed"
