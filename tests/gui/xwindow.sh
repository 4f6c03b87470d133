# shellcheck shell=bash
# xwindow.sh: shell functions for the scripts that drive one of our programs
# in a real window (run under tests/gui/with_xvfb.sh) with xdotool and check
# it from screenshots. Source it, then call xw_init. A failure ends the script
# at once with a message, never a hang:
# - every wait polls for its condition and gives up after a bound;
# - while the program is expected to run (from start until ends_with_zero),
#   every wait and every X request fails as soon as it has ended;
# - an X request on a window (xdotool, import) that fails, or that takes
#   longer than xw_request_limit seconds, ends the script; except a window
#   search that met a window going away, which decides nothing: the wait
#   polls again (find_window).
#
# Variables it keeps: work (a private folder, removed at exit; the program
# runs there and its output goes to "$work/log"), pid (the program's process
# id while it runs), win (its main window). Settings: xw_poll (seconds between
# two polls, 0.2 by default), xw_request_limit (seconds one X request may
# take, 30 by default) and xw_watch (watching for the program's end, on
# unless set empty; ends_with_zero turns it off while it waits for the end).

xw_poll=0.2
xw_request_limit=30
xw_watch=1

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

# xw_still_running WHILE: when watching, fails if the program has ended;
# WHILE ("while waiting for ...") completes the message.
xw_still_running() {
  [ -n "$xw_watch" ] && [ -n "$pid" ] || return 0
  alive && return 0
  local status=0
  wait "$pid" 2>/dev/null || status=$?
  pid=""
  fail "$xw_name ended unexpectedly (exit status $status) $1"
}

# xw_explained_by_end WHEN: after an X request failed. The usual cause is the
# program's end, which the X server may learn of a moment before this shell
# does: waits up to a second for the end to show and, if it does, reports
# that instead of the request.
xw_explained_by_end() {
  [ -n "$xw_watch" ] && [ -n "$pid" ] || return 0
  local tries=10
  while alive && [ "$tries" -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
  done
  xw_still_running "$1"
}

# wait_for SECONDS DESCRIPTION COMMAND...: polls COMMAND until it succeeds.
# A condition met because the program has ended does not count.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local end=$((SECONDS + limit))
  while :; do
    xw_still_running "while waiting for $what"
    if "$@"; then
      xw_still_running "while waiting for $what"
      return 0
    fi
    [ "$SECONDS" -lt "$end" ] || fail "timed out after ${limit} s waiting for $what"
    sleep "$xw_poll"
  done
}

# x_request COMMAND...: runs one X request on a window that must be there
# (xdotool, import), its standard output passing through. Fails at once if
# the program has ended, if the request fails, or if it takes longer than
# xw_request_limit seconds. Not for use inside $(...), where a failure would
# end only the subshell: send the output to a file instead.
x_request() {
  xw_still_running "before: $*"
  local status=0
  timeout -k 5 "$xw_request_limit" "$@" 2>"$work/x-error" || status=$?
  [ "$status" -ne 0 ] || return 0
  xw_request_failed "$status" "$*"
}

# xw_request_failed STATUS REQUEST: ends the script for an X request that
# ended with STATUS (124: its time ran out), its error output in
# "$work/x-error"; or for the program's end, when that explains it.
xw_request_failed() {
  xw_explained_by_end "during: $2"
  [ "$1" -ne 124 ] || fail "X request took more than ${xw_request_limit} s: $2"
  fail "X request failed (status $1): $2: $(head -n 3 "$work/x-error")"
}

# cpu_ns PID: sets ns to the processor time in nanoseconds of every thread
# of the process (threads that end meanwhile are skipped). It runs in this
# shell without starting a process, so it adds no load of its own.
cpu_ns() {
  local run rest f
  ns=0
  for f in /proc/"$1"/task/*/schedstat; do
    read -r run rest <"$f" || continue
    ns=$((ns + run))
  done
}

# window_geometry WINDOW: sets X, Y, WIDTH and HEIGHT to the window's place
# and size.
window_geometry() {
  x_request xdotool getwindowgeometry --shell "$1" >"$work/geometry"
  eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9-]+$' "$work/geometry")"
}

# find_window ARGS...: runs "xdotool search --onlyvisible ARGS". A clean
# search decides: status 0, and found is set to the first window it found, or
# to nothing. Windows open and close while the search walks them, and one
# that goes away under it ends the search with a BadWindow error (xdotool's
# status 1) before it has seen every window: that search decides nothing
# (the window looked for may well be there), so status 1 and found empty;
# the caller polls again. Any other failure ends the script.
find_window() {
  found=""
  local status=0
  timeout -k 5 "$xw_request_limit" xdotool search --onlyvisible "$@" >"$work/found" \
    2>"$work/x-error" || status=$?
  if [ "$status" -eq 0 ]; then
    IFS= read -r found <"$work/found" || true
  elif [ "$status" -eq 1 ] && [ ! -s "$work/x-error" ]; then
    :
  elif [ "$status" -eq 1 ] && grep -q BadWindow "$work/x-error"; then
    return 1
  else
    xw_request_failed "$status" "xdotool search $*"
  fi
}

# Windows: the program's main window (the toolkit's class), and others found
# by a pattern on their title (named sets found). Each condition holds only
# after a clean search: has and has_window when it found the window (found
# is that window), hasnt when it found none. After a search that decided
# nothing none of them holds, so a wait_for on any of them polls again.
CHOOSER='^Selecione o arquivo $'
named() { find_window --name "$1"; }
has_window() { find_window --class FLTK && [ -n "$found" ]; }
has() { named "$1" && [ -n "$found" ]; }
hasnt() { named "$1" && [ -z "$found" ]; }

# start COMMAND...: runs COMMAND in $work with its output in $work/log, and
# waits for its window.
start() {
  (cd "$work" && exec "$@") >"$work/log" 2>&1 &
  pid=$!
  wait_for 60 "$xw_name's window" has_window
  win=$found
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
  local chooser=$found
  x_request xdotool windowfocus --sync "$chooser"
  x_request xdotool key --window "$chooser" End
  x_request xdotool type --delay 20 "$1"
}

# choose_file NAME: types NAME into the file dialog and confirms it.
choose_file() {
  fill_chooser "$1"
  x_request xdotool key Return
  wait_for 60 "the file dialog to close" hasnt "$CHOOSER"
}

# cancel_chooser: closes the file dialog with Escape.
cancel_chooser() {
  wait_for 60 "the file dialog" has "$CHOOSER"
  x_request xdotool windowfocus --sync "$found"
  x_request xdotool key Escape
  wait_for 60 "the file dialog to close" hasnt "$CHOOSER"
}

# ---- glintview's window: a canvas above a row of buttons ----------------
# The buttons' places do not depend on the canvas's size, only their distance
# from the window's bottom edge does.

# read_buttons LAYOUT_PROBE: sets load_x load_w, save_x save_w, exit_x exit_w
# and button_h from the layout probe's lines.
# shellcheck disable=SC2034  # the positions are for the sourcing script
read_buttons() {
  "$1" >"$work/probe" || fail "layout probe failed"
  read -r _ load_x _ load_w button_h < <(grep '^Load ' "$work/probe")
  read -r _ save_x _ save_w _ < <(grep '^Save ' "$work/probe")
  read -r _ exit_x _ exit_w _ < <(grep '^Exit ' "$work/probe")
  [ -n "$button_h" ] || fail "layout probe gave nothing"
}

# geometry: sets win_w and win_h to the window's size.
geometry() {
  window_geometry "$win"
  win_w=$WIDTH
  win_h=$HEIGHT
}

# click_button X W: clicks the middle of the button at X, W wide.
click_button() {
  local x=$1 w=$2
  geometry
  x_request xdotool mousemove --window "$win" $((x + w / 2)) $((win_h - button_h / 2)) click 1
}

# canvas_shows REFERENCE W H: the window is laid out for a W x H canvas and
# the canvas's pixels are those of REFERENCE.
canvas_shows() {
  geometry
  [ "$win_w" -ge "$2" ] && [ "$win_h" -eq $(($3 + button_h)) ] || return 1
  x_request import -window "$win" -crop "${2}x${3}+0+0" +repage -depth 8 "ppm:$work/shot.ppm"
  local diff
  diff=$(compare -metric AE "$work/shot.ppm" "$1" null: 2>&1) || true
  [ "$diff" = "0" ]
}

# logged TEXT: how many lines of the program's output so far are TEXT.
logged() { grep -c -x -F "$1" "$work/log" || true; }

# save_as_rendered NAME REFERENCE: presses Save until the file NAME that
# glintview writes in $work is REFERENCE byte for byte, within 120 s; sets
# save_presses to the number of presses. The picture on show may be the same
# as the one being rendered again (a dialog closing over the canvas, or a
# late expose after the window's size changed, restarts the rendering), so a
# Save may come before the rendering is complete and write a partial
# picture: it is pressed again then. After each press it waits for the
# message that glintview wrote NAME (one for each press) to reach the log
# while glintview runs: its standard output is a file, and each line must
# reach it as it is printed.
save_as_rendered() {
  save_presses=0
  wait_for 120 "$1 to be saved as the engine renders it" \
    xw_save_once "$1" "$2"
  [ "$save_presses" -eq 1 ] || echo "Save pressed $save_presses times before $1 was the rendered picture"
}

# xw_save_once NAME REFERENCE: one press of Save for save_as_rendered.
xw_save_once() {
  save_presses=$((save_presses + 1))
  save_once "$1"
  cmp -s "$work/$1" "$2"
}

# save_once NAME: presses Save once and waits up to 10 s for the message that
# glintview wrote NAME in $work (one for each press) to reach the log while
# glintview runs. A file NAME from before is removed first, so NAME is then
# what this press wrote.
save_once() {
  local message="O $work/$1 was written successfully." before
  before=$(logged "$message")
  rm -f "$work/$1"
  click_button "$save_x" "$save_w"
  wait_for 10 "the message about $1 in the log while $xw_name runs" \
    xw_logged_more "$message" "$before"
}

# xw_logged_more TEXT COUNT: the program's output has more than COUNT lines
# that are TEXT.
xw_logged_more() { [ "$(logged "$1")" -gt "$2" ]; }
