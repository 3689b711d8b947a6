#!/usr/bin/env bash
# The real NeritMice on an X display (with_xvfb.sh gives it a private Xvfb)
# against the simulated mouse: its main window shows painted, pulling the
# simulated mouse opens the notice and plugging it in closes it, and once
# the five profiles are read, the caption's close button ends the program
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

# Pulling the simulated mouse (SIGUSR1) opens the program's notice, a window
# of its own; plugging it in again (SIGUSR2) closes it and the profiles are
# read again. The mouse is looked at only once the profiles are read.
count_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
wait_windows() {
  for _ in $(seq 200); do
    [ "$(count_windows)" -eq "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
shown=$(count_windows)
kill -USR1 "$app"
wait_windows $((shown + 1)) || fail "no notice after the mouse was pulled ($(count_windows) windows)"
kill -USR2 "$app"
wait_windows "$shown" || fail "the notice stayed after the mouse came back ($(count_windows) windows)"

close_window "$window"

# The profiles were read to the end: the start-up then lights the LEDs (0xFF),
# which the simulated mouse kept in its state file (byte 9) on the way out.
led=$(od -An -tu1 -j 9 -N 1 "$work/state" 2>/dev/null | tr -d ' ')
[ "$led" = "255" ] || fail "the simulated mouse's LEDs were not switched on (state byte 9: ${led:-no file})"

# The lock is free: a second start runs and shows its own window.
open_window
close_window "$window"
echo "xvfb NeritMice test passed"
