#!/usr/bin/env bash
# glintview in a real window meeting malformed scenes (run under
# tests/gui/with_xvfb.sh):
#   glintview_window.sh GLINTVIEW RENDER_REFERENCE LAYOUT_PROBE
# Loads, through the file dialog: a good scene; scenes whose camera asks for a
# screen of zero or negative size; files that give no scene or no camera; the
# good scene again. A side of zero or less leaves the canvas without area
# (nothing is rendered or saved), except the width: the canvas is never
# narrower than the row of buttons, so a width of zero or less with a height
# of 3 gives a strip as wide as the buttons, rendered and saved at that size. For each, glintview must stay up, keep or clear the
# picture as defined, save only what it has, and end with status 0 on Exit.
# Every wait polls for its condition and gives up after a generous bound.
# The waits watch the window and the files saved; glintview's messages about
# Save are recorded at each press and checked, all of them in order, once it
# has ended.
set -euo pipefail

glintview=$1
reference=$2
probe=$3

# shellcheck source=tests/gui/xwindow.sh
source "$(dirname "$0")/../gui/xwindow.sh"
xw_init glintview glint-badview

# The scenes: a small good one (200 x 60: a canvas is never narrower than
# the row of buttons), the same with a screen of 0 x 0, 5 x -3 and -4 x 3,
# one without a camera, an empty file and binary garbage. Their
# names begin with different letters: the file dialog completes a name as it
# is typed, and a shared beginning would complete to the wrong file.
body='#SCENE
30 40 60 null
#MATERIAL
20 20 20   200 60 60   255 255 255   40 0.4 0 1 null
#LIGHT
4 8 6   255 255 255
#SPHERE
0 1   0 1 0
'
camera() { printf 'GSD 2.0\n#CAMERA\n0 2 9  0 0.5 0  0 1 0  45  1 100  %s\n%s' "$1" "$body"; }
camera "200 60" >"$work/good.gsc"
camera "0 0" >"$work/zero.gsc"
camera "5 -3" >"$work/minus.gsc"
camera "-4 3" >"$work/narrow.gsc"
printf 'GSD 2.0\n%s' "$body" >"$work/headless.gsc"
: >"$work/empty.gsc"
head -c 4096 /dev/urandom >"$work/random.gsc"
"$reference" "$work/good.gsc" 200 60 "$work/good-ref.ppm" >/dev/null || fail "no reference render"

read_buttons "$probe"

# choose NAME: presses Load and chooses the file NAME in the dialog, which
# opens on the folder glintview runs in.
choose() {
  click_button "$load_x" "$load_w"
  choose_file "$1"
}

# The canvas has no area: the window holds only the row of buttons.
canvas_empty() { geometry; [ "$win_h" -eq "$button_h" ]; }

# save_expect TEXT: presses Save; TEXT is the message that Save must print,
# checked with the others once glintview has ended. glintview handles the
# press before anything done after it (the next dialog, Exit).
NOTHING="Nenhuma imagem (canvas sem area): nada foi salvo."
saves=()
save_expect() {
  saves+=("$1")
  click_button "$save_x" "$save_w"
}

# save_rendered NAME REFERENCE: presses Save until NAME is REFERENCE byte for
# byte (save_as_rendered, which waits for each press's message): each press
# must have printed the message that NAME was written, in its turn.
save_rendered() {
  save_as_rendered "$1" "$2"
  local _
  for _ in $(seq "$save_presses"); do
    saves+=("O $work/$1 was written successfully.")
  done
}

# saved_whole NAME W H: NAME holds a whole binary PPM file of W x H pixels.
saved_whole() {
  local header="P6
$2 $3
255
"
  [ -f "$work/$1" ] && [ "$(stat -c %s "$work/$1")" -eq $((${#header} + 3 * $2 * $3)) ]
}

# --------------------------------------------------------------------------
step "a good scene renders"
start "$glintview"
choose good.gsc
wait_for 300 "the good scene on show" canvas_shows "$work/good-ref.ppm" 200 60

for scene in zero minus; do
  step "$scene.gsc: the canvas loses its area; nothing is drawn or saved"
  choose "$scene.gsc"
  wait_for 60 "the canvas without area" canvas_empty
  save_expect "$NOTHING"
done

step "narrow.gsc (-4 x 3): the canvas is as wide as the row of buttons and 3 high"
choose narrow.gsc
strip() { geometry; [ "$win_h" -eq $((3 + button_h)) ]; }
wait_for 60 "a canvas 3 pixels high" strip
geometry
strip_w=$win_w
save_expect "O $work/narrow.ppm was written successfully."
wait_for 60 "narrow.ppm to be saved" saved_whole narrow.ppm "$strip_w" 3
head -c 11 "$work/narrow.ppm" | grep -q -F "$strip_w 3" || fail "narrow.ppm is not ${strip_w}x3"

step "files that give no scene change nothing"
choose zero.gsc
wait_for 60 "the canvas without area" canvas_empty
size_before="$win_w"x"$win_h"
for scene in empty random headless; do
  choose "$scene.gsc"
  kill -0 "$pid" 2>/dev/null || fail "glintview ended after loading $scene.gsc"
  geometry
  [ "${win_w}x${win_h}" = "$size_before" ] || fail "the window changed size after $scene.gsc"
done
# The scene loaded before (the one without area) is still the one held.
save_expect "$NOTHING"

step "the good scene again renders and saves as the engine renders it"
choose good.gsc
wait_for 300 "the good scene on show again" canvas_shows "$work/good-ref.ppm" 200 60
save_rendered good.ppm "$work/good-ref.ppm"

step "Exit ends glintview with status 0"
click_button "$exit_x" "$exit_w"
ends_with_zero "after Exit"

step "each Save printed its message, in order; nothing was saved for scenes without area"
got=$(grep -F -e "nada foi salvo." -e "was written successfully." "$work/log") || true
want=$(printf '%s\n' "${saves[@]}")
[ "$got" = "$want" ] || fail "the save messages are
$got
instead of
$want"
for scene in zero minus empty random headless; do
  [ ! -e "$work/$scene.ppm" ] || fail "an image was saved for $scene.gsc"
done
grep -q -F "Cenario sem camera: '" "$work/log" || fail "no message for the scene without camera"

echo "all glintview bad-input window checks passed"
