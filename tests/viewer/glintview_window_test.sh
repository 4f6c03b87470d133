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

work=$(mktemp -d /tmp/glint-viewtest-XXXXXX)
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
    sleep 0.2
  done
}

cp "$examples"/*.gsc "$examples"/*.ppm "$work/"
cp "$examples/bad/version.gsc" "$work/broken.gsc"

# Where the buttons are: their places do not depend on the canvas's size,
# only their distance from the window's bottom edge does.
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

start() {
  (cd "$work" && exec "$glintview") >"$work/log" 2>&1 &
  pid=$!
  wait_for 60 "glintview's window" has_window
  win=$(window_id)
}

# choose NAME: types the file's name into the dialog (it opens on the
# folder glintview runs in) and confirms it.
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

cancel() {
  click "$load_x" "$load_w"
  wait_for 60 "the file dialog" has_chooser
  xdotool windowfocus --sync "$(chooser_id)"
  xdotool key Escape
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

reference() { "$reference" "$work/$1" "$2" "$3" "$work/$4"; }

# save_and_check NAME.ppm REFERENCE: presses Save and waits until the file
# written is the reference byte for byte. (glintview's messages reach the log
# only when it exits: its standard output is then a file, fully buffered.)
save_and_check() {
  rm -f "$work/$1"
  click "$save_x" "$save_w"
  same() { cmp -s "$work/$1" "$2"; }
  wait_for 60 "$1 to be saved as the engine renders it" same "$1" "$2"
}

# --------------------------------------------------------------------------
step "load tour.gsc: the canvas takes its camera's 480x360 and shows the render"
start
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
xdotool windowsize "$win" 430 $((250 + button_h))
reference showcase.gsc 430 250 showcase-ref.ppm
wait_for 300 "the showcase at 430x250" canvas_shows "$work/showcase-ref.ppm" 430 250
save_and_check showcase.ppm "$work/showcase-ref.ppm"
head -c 15 "$work/showcase.ppm" | grep -q "430 250" || fail "saved image is not 430x250"

step "Exit ends glintview with status 0"
click "$exit_x" "$exit_w"
gone() { ! kill -0 "$pid" 2>/dev/null; }
wait_for 60 "glintview to exit" gone
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status after Exit"
# Two scenes were read (the cancel and the unreadable file read none) and
# four images written.
[ "$(grep -c "read camera:" "$work/log")" -eq 2 ] || fail "scenes read: not 2"
[ "$(grep -c "^O $work/tour.ppm was written successfully.$" "$work/log")" -eq 3 ] ||
  fail "tour.ppm not reported written 3 times"
grep -q "^O $work/showcase.ppm was written successfully.$" "$work/log" ||
  fail "showcase.ppm not reported written"

step "closing the window ends glintview with status 0, even while rendering"
start
choose showcase.gsc
"$close_request" "$win" || fail "could not send the close request"
wait_for 60 "glintview to exit after its window closed" gone
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status after closing the window"

echo "all glintview window checks passed"
