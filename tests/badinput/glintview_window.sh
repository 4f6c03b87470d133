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
set -euo pipefail

glintview=$1
reference=$2
probe=$3

work=$(mktemp -d /tmp/glint-badview-XXXXXX)
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -f "$work/log" ]; then
    echo "--- glintview's output:" >&2
    tail -n 20 "$work/log" >&2
  fi
  exit 1
}
step() { echo "== $*"; }

# wait_for SECONDS DESCRIPTION COMMAND...: polls COMMAND every 0.2 s.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local end=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "timed out after ${limit} s waiting for $what"
    kill -0 "$pid" 2>/dev/null || fail "glintview ended while waiting for $what"
    sleep 0.2
  done
}

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

"$probe" >"$work/probe"
read -r _ load_x _ load_w button_h < <(grep '^Load ' "$work/probe")
read -r _ save_x _ save_w _ < <(grep '^Save ' "$work/probe")
read -r _ exit_x _ exit_w _ < <(grep '^Exit ' "$work/probe")
[ -n "$button_h" ] || fail "layout probe gave nothing"

window_id() { xdotool search --onlyvisible --class FLTK 2>/dev/null | head -n 1; }
chooser_id() { xdotool search --onlyvisible --name '^Selecione o arquivo $' 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window_id)" ]; }
has_chooser() { [ -n "$(chooser_id)" ]; }
no_chooser() { [ -z "$(chooser_id)" ]; }

geometry() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  win_w=$WIDTH
  win_h=$HEIGHT
}

click() {
  local x=$1 w=$2
  geometry
  xdotool mousemove --window "$win" $((x + w / 2)) $((win_h - button_h / 2)) click 1
}

# choose NAME: types the file's name into the dialog, which opens on the
# folder glintview runs in, and confirms it.
choose() {
  click "$load_x" "$load_w"
  wait_for 60 "the file dialog" has_chooser
  local chooser
  chooser=$(chooser_id)
  xdotool windowfocus --sync "$chooser"
  xdotool key --window "$chooser" End shift+Home BackSpace
  xdotool type --delay 20 "$1"
  xdotool key Return
  wait_for 60 "the file dialog to close" no_chooser
}

# canvas_shows REFERENCE W H: the window is laid out for a W x H canvas and
# the canvas's pixels are those of REFERENCE.
canvas_shows() {
  geometry
  [ "$win_w" -ge "$2" ] && [ "$win_h" -eq $(($3 + button_h)) ] || return 1
  import -window "$win" -crop "${2}x${3}+0+0" +repage -depth 8 "ppm:$work/shot.ppm" 2>/dev/null ||
    return 1
  local diff
  diff=$(compare -metric AE "$work/shot.ppm" "$1" null: 2>&1) || true
  [ "$diff" = "0" ]
}

# The canvas has no area: the window holds only the row of buttons.
canvas_empty() { geometry; [ "$win_h" -eq "$button_h" ]; }

count() { grep -c -F -- "$1" "$work/log" || true; }
# save_expect TEXT: presses Save and waits for one more line holding TEXT.
save_expect() {
  local before
  before=$(count "$1")
  click "$save_x" "$save_w"
  more() { [ "$(count "$1")" -gt "$before" ]; }
  wait_for 60 "the save message '$1'" more "$1"
}

# --------------------------------------------------------------------------
step "a good scene renders"
# Line-buffered, so that each message reaches the log as it is printed. The
# buffering is set by a preloaded library, which a sanitizer build must be
# told to accept ahead of its own runtime.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
(cd "$work" && exec stdbuf -oL "$glintview") >"$work/log" 2>&1 &
pid=$!
wait_for 60 "glintview's window" has_window
win=$(window_id)
choose good.gsc
wait_for 300 "the good scene on show" canvas_shows "$work/good-ref.ppm" 200 60

for scene in zero minus; do
  step "$scene.gsc: the canvas loses its area; nothing is drawn or saved"
  choose "$scene.gsc"
  wait_for 60 "the canvas without area" canvas_empty
  save_expect "Nenhuma imagem (canvas sem area): nada foi salvo."
  [ ! -e "$work/$scene.ppm" ] || fail "an image was saved for $scene.gsc"
done

step "narrow.gsc (-4 x 3): the canvas is as wide as the row of buttons and 3 high"
choose narrow.gsc
strip() { geometry; [ "$win_h" -eq $((3 + button_h)) ]; }
wait_for 60 "a canvas 3 pixels high" strip
geometry
strip_w=$win_w
save_expect "O $work/narrow.ppm was written successfully."
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
grep -q -F "Cenario sem camera: '" "$work/log" || fail "no message for the scene without camera"
# The scene loaded before (the one without area) is still the one held.
save_expect "Nenhuma imagem (canvas sem area): nada foi salvo."

step "the good scene again renders and saves as the engine renders it"
choose good.gsc
wait_for 300 "the good scene on show again" canvas_shows "$work/good-ref.ppm" 200 60
save_expect "O $work/good.ppm was written successfully."
cmp "$work/good.ppm" "$work/good-ref.ppm" || fail "good.ppm differs from the engine's render"

step "Exit ends glintview with status 0"
click "$exit_x" "$exit_w"
gone() { ! kill -0 "$pid" 2>/dev/null; }
end=$((SECONDS + 60))
until gone; do
  [ "$SECONDS" -lt "$end" ] || fail "glintview did not exit"
  sleep 0.2
done
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status after Exit"

echo "all glintview bad-input window checks passed"
