#!/usr/bin/env bash
# The window library's searches (xwindow.sh) while other programs open and
# close windows (run under tests/gui/with_xvfb.sh):
#   xwindow_test.sh WINDOW_CHURN
# A window titled as the file dialog is kept on the screen while other
# programs create windows and destroy them a few milliseconds later, over and
# over, so that many searches (a quarter or more; more on a busy machine)
# meet a window going away. start must find the kept window (has_window);
# hasnt, polled many times, must never say it is gone, and every search that
# was not disturbed must find it; has must find it. Once the kept window is
# closed, hasnt must say so, the churn still going on.
set -euo pipefail

churn=$1
churners=2        # programs churning windows
churn_count=3     # windows each creates and destroys at a time
churn_life=10000  # microseconds the windows live (a short life costs the
                  # processor more, a longer one disturbs fewer searches)
polls=200

# shellcheck source=tests/gui/xwindow.sh
source "$(dirname "$0")/xwindow.sh"
xw_init "the kept window" glint-xwtest

churn_pids=()
stop_churn() {
  local p
  for p in "${churn_pids[@]}"; do
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  churn_pids=()
}
trap 'stop_churn; xw_cleanup' EXIT

churning() {
  local p
  for p in "${churn_pids[@]}"; do
    kill -0 "$p" 2>/dev/null || fail "a churning program ended"
  done
}

# --------------------------------------------------------------------------
step "$churners programs creating and destroying windows"
for _ in $(seq "$churners"); do
  "$churn" churn "$churn_count" "$churn_life" >>"$work/churn.log" 2>&1 &
  churn_pids+=($!)
done

step "start finds the kept window"
start "$churn" keep "Selecione o arquivo " FLTK
[ -n "$win" ] || fail "start gave no window"

step "has finds it"
wait_for 60 "has to find the kept window" has "$CHOOSER"
[ "$found" = "$win" ] || fail "has found window $found, not the kept one ($win)"

step "hasnt, $polls times: never gone"
disturbed=0
for poll in $(seq "$polls"); do
  if hasnt "$CHOOSER"; then
    fail "poll $poll of $polls: hasnt said the kept window is gone while it is on the screen ($disturbed searches before met a window going away; this one: $(head -n 1 "$work/x-error"))"
  fi
  if [ -s "$work/x-error" ] && grep -q BadWindow "$work/x-error"; then
    disturbed=$((disturbed + 1))
  elif [ "$found" != "$win" ]; then
    fail "poll $poll of $polls: a clean search found '$found', not the kept window ($win)"
  fi
done
churning
echo "$disturbed of $polls searches met a window going away"
# A churn that never disturbed a search would leave the test proving nothing.
[ "$disturbed" -gt 0 ] || fail "no search met a window going away: the churn is too slow"

step "has still finds it"
wait_for 60 "has to find the kept window" has "$CHOOSER"
[ "$found" = "$win" ] || fail "has found window $found, not the kept one ($win)"

step "the kept window closed: hasnt says it is gone"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
wait_for 60 "hasnt to say the kept window is gone" hasnt "$CHOOSER"
churning
if has "$CHOOSER"; then fail "has found the closed window ($found)"; fi

echo "all window library checks passed"
