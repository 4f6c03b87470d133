#!/usr/bin/env bash
# glintdiff in a real window (run under tests/gui/with_xvfb.sh):
#   glintdiff_window_test.sh GLINTDIFF WINDOW_HELPER CLOSE_REQUEST
# Loads images into both panes through the file dialogs by typing their
# names, checks from screenshots what each pane shows, presses Error and finds
# the "Measures" box, then checks that pane 2 shows the difference picture;
# cancels a file dialog; loads an unreadable file and one with two-byte
# samples; presses Error with a pane empty; shows a 2 x 2 image stretched over a larger canvas; leaves by Exit
# and by the window's close request. Every wait polls for its condition and
# gives up after a generous bound; if glintdiff ends before it is told to, or
# an X request fails, the script fails at once (tests/gui/xwindow.sh).
set -euo pipefail

glintdiff=$1
helper=$2
close_request=$3

# shellcheck source=tests/gui/xwindow.sh
source "$(dirname "$0")/../gui/xwindow.sh"
xw_init glintdiff glint-difftest

"$helper" images "$work" || fail "could not write the test images"

# layout W1xH1 W2xH2: where everything is when the canvases have those sizes
# (320x240 for a pane without an image).
layout() {
  "$helper" probe "$1" "$2" >"$work/probe" || fail "layout probe failed"
  read -r _ c1_x c1_y c1_w c1_h < <(grep '^canvas1 ' "$work/probe")
  read -r _ c2_x c2_y c2_w c2_h < <(grep '^canvas2 ' "$work/probe")
  read -r _ win_w win_h < <(grep '^window ' "$work/probe")
  for b in load1 exit load2 error; do
    read -r _ x y w h < <(grep "^$b " "$work/probe")
    eval "${b}_x=$((x + w / 2)) ${b}_y=$((y + h / 2))"
  done
}

MEASURES='^Measures$'

click() { x_request xdotool mousemove --window "$win" "$1" "$2" click 1; }

# choose X Y NAME: presses the Load button at X, Y and chooses the file NAME
# in the dialog.
choose() {
  click "$1" "$2"
  choose_file "$3"
}

cancel() {
  click "$1" "$2"
  cancel_chooser
}

# measure: presses Error, waits for the "Measures" box, notes its height in
# box_h and closes it with its OK button.
measure() {
  click "$error_x" "$error_y"
  wait_for 60 "the Measures box" has "$MEASURES"
  local box=$found
  window_geometry "$box"
  box_h=$HEIGHT
  x_request xdotool windowfocus --sync "$box"
  x_request xdotool key Return
  wait_for 60 "the Measures box to close" hasnt "$MEASURES"
}

shoot() {
  window_geometry "$win"
  [ "$WIDTH" -eq "$win_w" ] && [ "$HEIGHT" -eq "$win_h" ] || return 1
  x_request import -window "$win" -depth 8 "ppm:$work/shot.ppm"
}

# shows CHECK...: the window has the size of the current layout and a fresh
# screenshot passes every check, each "same X Y FILE" or "uniform X Y W H R G B".
shows() {
  shoot || return 1
  local check
  for check in "$@"; do
    # shellcheck disable=SC2086
    "$helper" ${check%% *} "$work/shot.ppm" ${check#* } 2>"$work/check" || return 1
  done
}

# --------------------------------------------------------------------------
step "Exit with no image loaded ends glintdiff with status 0"
layout 320x240 320x240
start "$glintdiff"
click "$exit_x" "$exit_y"
ends_with_zero

step "Error with both panes empty measures nothing and says so"
start "$glintdiff"
# An empty pane shows a black canvas.
wait_for 60 "two empty panes" \
  shows "uniform $c1_x $c1_y $c1_w $c1_h 0 0 0" "uniform $c2_x $c2_y $c2_w $c2_h 0 0 0"
measure
empty_box_h=$box_h
alive || fail "glintdiff ended after Error with empty panes"

step "load image a into pane 1: the window is laid out anew and pane 1 shows it"
choose "$load1_x" "$load1_y" a.ppm
# Pane 2's empty canvas keeps the row 240 pixels high, so pane 1's canvas is
# 200 pixels wide (the image's width) and stretched to 240 high.
layout 200x150 320x240
A_IN_1="stretched $c1_x $c1_y $c1_w $c1_h $work/a.ppm"
wait_for 60 "a.ppm in pane 1" shows "$A_IN_1"

step "Error with pane 2 empty changes nothing"
measure
[ "$box_h" -eq "$empty_box_h" ] || fail "the box differs from the one for two empty panes"
wait_for 60 "a.ppm still in pane 1" shows "$A_IN_1"

step "cancel in pane 1's file dialog keeps its image"
cancel "$load1_x" "$load1_y"
wait_for 60 "a.ppm still in pane 1" shows "$A_IN_1"

step "load image d into pane 2; pane 1 is untouched"
choose "$load2_x" "$load2_y" d.ppm
# Both canvases now have the images' size exactly.
layout 200x150 200x150
[ "$c1_w" -eq 200 ] && [ "$c1_h" -eq 150 ] && [ "$c2_w" -eq 200 ] && [ "$c2_h" -eq 150 ] ||
  fail "the canvases are not 200x150"
wait_for 60 "a.ppm and d.ppm side by side" \
  shows "same $c1_x $c1_y $work/a.ppm" "same $c2_x $c2_y $work/d.ppm"

step "Error: the Measures box, then pane 2 shows the difference (10, 20, 0)"
measure
[ "$box_h" -gt "$empty_box_h" ] || fail "the Measures box is no taller than the one-line message"
wait_for 60 "the difference picture in pane 2" \
  shows "same $c1_x $c1_y $work/a.ppm" "uniform $c2_x $c2_y $c2_w $c2_h 10 20 0"

step "identical images: Error turns pane 2 black"
choose "$load2_x" "$load2_y" b.ppm
wait_for 60 "b.ppm in pane 2" shows "same $c2_x $c2_y $work/b.ppm"
measure
wait_for 60 "a black pane 2" \
  shows "same $c1_x $c1_y $work/a.ppm" "uniform $c2_x $c2_y $c2_w $c2_h 0 0 0"

step "cancel in pane 2's file dialog keeps its picture"
cancel "$load2_x" "$load2_y"
wait_for 60 "pane 2 still black" shows "uniform $c2_x $c2_y $c2_w $c2_h 0 0 0"

step "an unreadable file leaves pane 2 without an image, showing an empty canvas"
choose "$load2_x" "$load2_y" d.ppm
wait_for 60 "d.ppm in pane 2" shows "same $c2_x $c2_y $work/d.ppm"
choose "$load2_x" "$load2_y" bad.ppm
# The canvas keeps its size and is cleared to what an empty pane shows.
wait_for 60 "an empty pane 2" \
  shows "same $c1_x $c1_y $work/a.ppm" "uniform $c2_x $c2_y $c2_w $c2_h 0 0 0"
measure
[ "$box_h" -eq "$empty_box_h" ] || fail "Error measured with pane 2 empty"
alive || fail "glintdiff ended after Error with pane 2 empty"
wait_for 60 "a.ppm still in pane 1" shows "same $c1_x $c1_y $work/a.ppm"

step "a file with two-byte samples is refused, and the message is in the log at once"
choose "$load2_x" "$load2_y" d.ppm
wait_for 60 "d.ppm in pane 2" shows "same $c2_x $c2_y $work/d.ppm"
printf 'P6\n2 1\n65535\n0123456789ab' >"$work/wide.ppm"
choose "$load2_x" "$load2_y" wide.ppm
# glintdiff's standard output is a file here; each message must reach it as
# it is printed, not when glintdiff ends.
wide_logged() {
  grep -q -x -F "$work/wide.ppm tem amostras de dois bytes (valor maximo 65535): so sao lidas imagens de valor maximo ate 255" "$work/log"
}
wait_for 10 "the refusal of wide.ppm in the log while glintdiff runs" wide_logged
wait_for 60 "an empty pane 2" \
  shows "same $c1_x $c1_y $work/a.ppm" "uniform $c2_x $c2_y $c2_w $c2_h 0 0 0"

step "Exit ends glintdiff with status 0"
click "$exit_x" "$exit_y"
ends_with_zero

step "a 2 x 2 image is drawn stretched over its larger canvas"
layout 320x240 320x240
start "$glintdiff"
choose "$load1_x" "$load1_y" c.ppm
layout 2x2 320x240
[ "$c1_w" -ge 20 ] && [ "$c1_h" -ge 20 ] || fail "canvas 1 is only ${c1_w}x${c1_h}"
# Each quadrant of the canvas, less a margin along the middle lines, shows
# one pixel of the image: blue and white on top, red and green below.
qw=$((c1_w / 2 - 2))
qh=$((c1_h / 2 - 2))
right=$((c1_x + c1_w - qw))
bottom=$((c1_y + c1_h - qh))
wait_for 60 "the stretched 2 x 2 image" shows \
  "uniform $c1_x $c1_y $qw $qh 0 0 255" "uniform $right $c1_y $qw $qh 255 255 255" \
  "uniform $c1_x $bottom $qw $qh 255 0 0" "uniform $right $bottom $qw $qh 0 255 0"

step "closing the window ends glintdiff with status 0"
"$close_request" "$win" || fail "could not send the close request"
ends_with_zero

echo "all glintdiff window checks passed"
