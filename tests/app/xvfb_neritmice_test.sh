#!/usr/bin/env bash
# The real NeritMice on an X display (with_xvfb.sh gives it a private Xvfb)
# against the simulated mouse: its main window shows painted, and once the
# five profiles are read, the caption's close button ends the program
# with status 0, taking the window away and letting go of the single-instance
# lock, so that a second start runs. Skipped (77) without a display, xdotool
# or xwd.
set -u
program=$1
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/app/neritmice_xvfb_common.sh
source "$(dirname "$0")/neritmice_xvfb_common.sh"

open_window

# A second start with the same simulated mouse asks the first to come to the
# front and leaves at once, before it touches the mouse's state file.
"$program" --simulate="$work/state" --data-dir "$work/data" >>"$work/out.txt" 2>>"$work/err.txt" &
second=$!
for _ in $(seq 300); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$second" 2>/dev/null; then
  kill "$second"
  fail "a second start with the same state file did not leave"
fi
wait "$second" || fail "the second start ended with status $?"

close_window "$window"

# The profiles were read to the end: the start-up then lights the LEDs (0xFF),
# which the simulated mouse kept in its state file (byte 9) on the way out.
led=$(od -An -tu1 -j 9 -N 1 "$work/state" 2>/dev/null | tr -d ' ')
[ "$led" = "255" ] || fail "the simulated mouse's LEDs were not switched on (state byte 9: ${led:-no file})"

# The lock is free: a second start runs and shows its own window.
open_window
close_window "$window"
echo "xvfb NeritMice test passed"
