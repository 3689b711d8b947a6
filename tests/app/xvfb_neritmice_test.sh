#!/usr/bin/env bash
# The real NeritMice on an X display (with_xvfb.sh gives it a private Xvfb)
# against the simulated mouse: its main window shows painted, pulling the
# simulated mouse opens the notice and plugging it in closes it, and once
# the five profiles are read, the caption's close button ends the program
# with status 0, taking the window away and letting go of the single-instance
# lock, so that a second start runs. The simulated mouse is shared with
# neritctl (the second argument) while the window is open, and keeps what it
# is sent at once. Under a window manager (NERIT_WINDOW_MANAGER) its close of
# the exit question cancels it. Skipped (77) without a display, xdotool or xwd.
set -u
program=$1
neritctl=$2
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/app/neritmice_xvfb_common.sh
source "$(dirname "$0")/neritmice_xvfb_common.sh"

# The mouse starts with its LEDs off (state byte 9).
state_byte() { od -An -tu1 -j "$1" -N 1 "$work/state" 2>/dev/null | tr -d ' '; }
"$neritctl" --simulate="$work/state" --data-dir "$work/other" led off >>"$work/out.txt" 2>>"$work/err.txt" ||
  fail "neritctl could not switch the LEDs off before the start"
open_window

# Once the profiles are read, the start-up lights the LEDs: the state file
# has it at once, with the window still open.
for _ in $(seq 200); do [ "$(state_byte 9)" = "255" ] && break; sleep 0.1; done
[ "$(state_byte 9)" = "255" ] || fail "the state file did not keep the LEDs lit by the running program"
# The program holds the mouse only for its transfers: once its start-up load
# (one transfer, which may outlast neritctl's wait on a busy machine) is
# done, neritctl, with a data folder of its own, writes the profiles with
# the window open.
# (The LEDs are no witness: every page refresh sends the program's switch.)
profiles() { tail -c +17 "$work/state" | head -c $((5 * 2328)) | md5sum; }
written=
for _ in $(seq 5); do
  timeout 20 "$neritctl" --simulate="$work/state" --data-dir "$work/other" set --profile 5 report-rate 250 --apply \
    >>"$work/out.txt" 2>>"$work/err.txt" && { written=1; break; }
  tail -n 1 "$work/err.txt" | grep -q "is busy" || break
done
[ -n "$written" ] || fail "neritctl could not write the profiles while the window was open: $(tail -n 1 "$work/err.txt")"
written=$(profiles)

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
count_windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }
wait_windows() {
  for _ in $(seq "${2:-200}"); do
    [ "$(count_windows)" -eq "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
shown=$(count_windows)
kill -USR1 "$app"
wait_windows $((shown + 1)) || fail "no notice after the mouse was pulled ($(count_windows) windows)"
# The pull is kept in the state file (byte 13), over what neritctl left there.
[ "$(state_byte 13)" = "1" ] || fail "the state file does not show the mouse pulled"
[ "$(profiles)" = "$written" ] || fail "the pull wrote the program's old profiles over neritctl's"
kill -USR2 "$app"
wait_windows "$shown" || fail "the notice stayed after the mouse came back ($(count_windows) windows)"

# Under a window manager its close (Alt+F4) of the exit question is the
# question's Cancel: the program stays, and its close button asks again.
if [ -n "${NERIT_WINDOW_MANAGER:-}" ]; then
  for _ in $(seq 40); do
    click_at "$window" "$close_x" "$close_y"
    wait_windows $((shown + 1)) 10 && break
  done
  [ "$(count_windows)" -eq $((shown + 1)) ] || fail "the close button opened no question"
  xdotool key alt+F4
  wait_windows "$shown" || fail "the window manager's close left the question open"
  sleep 0.5
  kill -0 "$app" 2>/dev/null || fail "the window manager's close of the question ended the program"
fi

close_window "$window"

# Plugged in again, the profiles were read to the end: the start-up's load
# lit the LEDs once more.
[ "$(state_byte 9)" = "255" ] || fail "the LEDs were not switched on again (state byte 9: $(state_byte 9))"

# The lock is free: a second start runs and shows its own window.
open_window
close_window "$window"
echo "xvfb NeritMice test passed"
