#!/usr/bin/env bash
# with_xvfb.sh COMMAND [ARGS...]: runs COMMAND with DISPLAY set to a private
# virtual X server (24-bit colour, no window manager) and stops the server
# afterwards; the exit status is COMMAND's. Xvfb picks a free display number
# itself, so several of these can run at once. HOME is a fresh folder, so
# nothing the toolkit remembers lands in the real one. In sanitizer builds
# the leak checker skips the font and X libraries' caches (lsan.supp).
# XVFB_PID is the server's process id (the viewer benchmark counts its
# processor time).
# The server does not reset when its last client leaves (-noreset): a program
# started in that moment, just after a helper program ended, would find no
# display. When COMMAND fails, the server's log follows its output.
set -u

tmp=$(mktemp -d /tmp/glint-xvfb-XXXXXX)
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$tmp/display" \
  >"$tmp/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

# The server writes its display number once it accepts connections.
for _ in $(seq 600); do
  [ -s "$tmp/display" ] && break
  if ! kill -0 "$xvfb" 2>/dev/null; then
    echo "with_xvfb: Xvfb did not start:" >&2
    cat "$tmp/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -s "$tmp/display" ]; then
  echo "with_xvfb: Xvfb gave no display number within 60 s" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$tmp/display")"
export XVFB_PID="$xvfb"
mkdir -p "$tmp/home"
export HOME="$tmp/home"

export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

status=0
"$@" || status=$?
if [ "$status" -ne 0 ] && [ -s "$tmp/xvfb.log" ]; then
  echo "--- the X server's log (display $DISPLAY):" >&2
  cat "$tmp/xvfb.log" >&2
fi
exit "$status"
