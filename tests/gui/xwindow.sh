# shellcheck shell=bash
# xwindow.sh: shell functions for the scripts that drive one of our programs
# in a real window (run under tests/gui/with_xvfb.sh) with xdotool and check
# it from screenshots. Source it, then call xw_init. Every wait polls for its
# condition and gives up after a bound; a failure ends the script.
#
# Variables it keeps: work (a private folder, removed at exit; the program
# runs there and its output goes to "$work/log"), pid (the program's process
# id while it runs), win (its main window). Settings: xw_poll (seconds between
# two polls, 0.2 by default) and xw_watch (when not empty, a wait also fails as
# soon as the program has ended).

xw_poll=0.2
xw_watch=""

# xw_init NAME TAG: makes the folder /tmp/TAG-XXXXXX and sets the clean-up at
# exit that stops the program and removes the folder. NAME is the program's
# name in messages.
xw_init() {
  xw_name=$1
  work=$(mktemp -d "/tmp/$2-XXXXXX")
  pid=""
  win=""
  trap xw_cleanup EXIT
}

xw_cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; fi
  rm -rf "$work"
}

# fail MESSAGE: reports the failure with the end of the program's output and
# the last screenshot check's complaint ("$work/check"), and ends the script.
fail() {
  echo "FAIL: $*" >&2
  if [ -f "$work/log" ]; then
    echo "--- $xw_name's output:" >&2
    tail -n 20 "$work/log" >&2
  fi
  if [ -f "$work/check" ]; then
    echo "--- last screenshot check:" >&2
    cat "$work/check" >&2
  fi
  exit 1
}

step() { echo "== $*"; }

alive() { kill -0 "$pid" 2>/dev/null; }
gone() { ! alive; }

# wait_for SECONDS DESCRIPTION COMMAND...: polls COMMAND until it succeeds.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local end=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "timed out after ${limit} s waiting for $what"
    if [ -n "$xw_watch" ]; then
      alive || fail "$xw_name ended while waiting for $what"
    fi
    sleep "$xw_poll"
  done
}

# Windows: the program's main window (the toolkit's class), and others found
# by a pattern on their title.
CHOOSER='^Selecione o arquivo $'
window_id() { xdotool search --onlyvisible --class FLTK 2>/dev/null | head -n 1; }
named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window_id)" ]; }
has() { [ -n "$(named "$1")" ]; }
hasnt() { [ -z "$(named "$1")" ]; }

# start COMMAND...: runs COMMAND in $work with its output in $work/log, and
# waits for its window.
start() {
  (cd "$work" && exec "$@") >"$work/log" 2>&1 &
  pid=$!
  wait_for 60 "$xw_name's window" has_window
  win=$(window_id)
}

# ends_with_zero [WHEN]: the program ends within 60 s with exit status 0;
# WHEN (e.g. "after Exit") completes the failure message.
ends_with_zero() {
  local xw_watch=""
  wait_for 60 "$xw_name to exit${1:+ $1}" gone
  local status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "exit status $status${1:+ $1}"
}

# The file dialog opens with the path of the folder the program runs in (or
# of the last file chosen), ending in "/", in its file name field; a name is
# typed after it. (Typing into an emptied field is not reliable: from the
# second dialog on, the dialog takes each key as a change of folder and
# scrambles the text.)

# fill_chooser NAME: waits for the file dialog and types NAME into it.
fill_chooser() {
  wait_for 60 "the file dialog" has "$CHOOSER"
  local chooser
  chooser=$(named "$CHOOSER")
  xdotool windowfocus --sync "$chooser"
  xdotool key --window "$chooser" End
  xdotool type --delay 20 "$1"
}

# choose_file NAME: types NAME into the file dialog and confirms it.
choose_file() {
  fill_chooser "$1"
  xdotool key Return
  wait_for 60 "the file dialog to close" hasnt "$CHOOSER"
}

# cancel_chooser: closes the file dialog with Escape.
cancel_chooser() {
  wait_for 60 "the file dialog" has "$CHOOSER"
  xdotool windowfocus --sync "$(named "$CHOOSER")"
  xdotool key Escape
  wait_for 60 "the file dialog to close" hasnt "$CHOOSER"
}

# ---- glintview's window: a canvas above a row of buttons ----------------
# The buttons' places do not depend on the canvas's size, only their distance
# from the window's bottom edge does.

# read_buttons LAYOUT_PROBE: sets load_x load_w, save_x save_w, exit_x exit_w
# and button_h from the layout probe's lines.
# shellcheck disable=SC2034  # the positions are for the sourcing script
read_buttons() {
  "$1" >"$work/probe"
  read -r _ load_x _ load_w button_h < <(grep '^Load ' "$work/probe")
  read -r _ save_x _ save_w _ < <(grep '^Save ' "$work/probe")
  read -r _ exit_x _ exit_w _ < <(grep '^Exit ' "$work/probe")
  [ -n "$button_h" ] || fail "layout probe gave nothing"
}

# geometry: sets win_w and win_h to the window's size.
geometry() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  win_w=$WIDTH
  win_h=$HEIGHT
}

# click_button X W: clicks the middle of the button at X, W wide.
click_button() {
  local x=$1 w=$2
  geometry
  xdotool mousemove --window "$win" $((x + w / 2)) $((win_h - button_h / 2)) click 1
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
