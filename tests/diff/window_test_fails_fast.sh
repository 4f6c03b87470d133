#!/usr/bin/env bash
# The window test fails at once, naming the cause, when the program it drives
# ends before it is told to (run under tests/gui/with_xvfb.sh):
#   window_test_fails_fast.sh GLINTDIFF WINDOW_HELPER CLOSE_REQUEST
# Runs glintdiff_window_test.sh with stand-ins for glintdiff: a program that
# ends at once without a window, and glintdiff itself killed by SIGSEGV, as a
# crash would end it, as soon as its second run opens a file dialog (its
# first run is the Exit step). Each run must fail saying that the program
# ended, not run into a wait's bound.
set -euo pipefail

glintdiff=$1
helper=$2
close_request=$3

here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d /tmp/glint-failfast-XXXXXX)
trap 'rm -rf "$tmp"' EXIT

# expect_failure WHAT STAND_IN PATTERN: the window test run with STAND_IN
# for glintdiff fails with a message matching PATTERN (grep -E).
expect_failure() {
  local status=0
  # The outer bound only stops a regression from hanging here; the message
  # tells a failure at once from one at a wait's bound.
  timeout 120 bash "$here/glintdiff_window_test.sh" "$2" "$helper" "$close_request" \
    >"$tmp/out" 2>&1 || status=$?
  if [ "$status" -eq 0 ] || ! grep -Eq -- "$3" "$tmp/out"; then
    echo "FAIL: $1: exit status $status, and no message matching: $3" >&2
    cat "$tmp/out" >&2
    exit 1
  fi
  echo "ok: $1: $(grep '^FAIL: ' "$tmp/out")"
}

expect_failure "a program that ends at once" /bin/true \
  "^FAIL: glintdiff ended unexpectedly \(exit status 0\) while waiting for glintdiff's window$"

# The stand-in runs in the test's work folder, where it counts its runs. A
# watcher started before glintdiff takes its place kills it once the file
# dialog is on show.
cat >"$tmp/crashes" <<STANDIN
#!/usr/bin/env bash
ulimit -c 0
runs=\$(cat .runs 2>/dev/null || echo 0)
echo \$((runs + 1)) >.runs
if [ "\$runs" -ge 1 ]; then
  (
    for _ in \$(seq 600); do
      kill -0 \$\$ || exit 0
      if xdotool search --onlyvisible --name '^Selecione o arquivo \$' >/dev/null 2>&1; then
        kill -SEGV \$\$
        exit 0
      fi
      sleep 0.1
    done
  ) >/dev/null 2>&1 &
fi
exec "$glintdiff"
STANDIN
chmod +x "$tmp/crashes"
expect_failure "glintdiff crashing with its file dialog open" "$tmp/crashes" \
  "^FAIL: glintdiff ended unexpectedly \(exit status [1-9][0-9]*\) "

echo "all fail-fast checks of the window test passed"
