#!/usr/bin/env bash
# The real NeritMice on an X display (with_xvfb.sh gives it a private Xvfb)
# against the simulated mouse, ended by SIGTERM as a session's end does:
#  - while idle, at once, as by the signal, with the change not applied kept
#    in profile/PendingChanges;
#  - while the profiles are being read, only once the transfer is done, a
#    second signal meanwhile said in one line.
#   xvfb_stop_signals_test.sh NERITMICE NERIT_SCREENSHOTS SKINS
# Skipped (77) without a display, xdotool or xwd.
set -u
program=$1
screenshots=$2
skins=$3
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill -KILL "$app" 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/app/neritmice_xvfb_common.sh
source "$(dirname "$0")/neritmice_xvfb_common.sh"

"$screenshots" --rects "$skins" 0 profile2_inuse_option >"$work/rects.txt" ||
  { cat "$work/rects.txt"; fail "the main control page lacks a control"; }
declare -A left top right bottom
while read -r name l t r b; do
  left[$name]=$l top[$name]=$t right[$name]=$r bottom[$name]=$b
done <"$work/rects.txt"
middle() { echo "$(((left[$1] + right[$1]) / 2)) $(((top[$1] + bottom[$1]) / 2))"; }
pending="$work/data/profile/PendingChanges"
applied="$work/data/profile/AllProfile"
store_size=7189486
# The border of the progress label over the frame while the mouse is busy,
# read with as few programs as can be: the load it shows lasts seconds.
busy_x=500
busy_y=308
shot_size=
busy() {
  local size bytes
  screenshot "$window" || return 1
  size=$(stat -c %s "$work/shot.xwd")
  if [ "$size" != "$shot_size" ]; then
    shot_size=$size
    shot_order=$(xwd_field "$work/shot.xwd" 7)
    shot_at=$(($(xwd_pixels_offset "$work/shot.xwd") + busy_y * $(xwd_field "$work/shot.xwd" 12) + busy_x * 4))
  fi
  bytes=$(od -An -tx1 -j "$shot_at" -N 4 "$work/shot.xwd" | tr -d ' \n')
  if [ "$shot_order" -eq 0 ]; then [ "${bytes:0:6}" = "3c3cff" ]; else [ "${bytes:2:6}" = "ff3c3c" ]; fi
}
# Waits until the window shows a transfer (10 s at most), then until it is
# over (30 s at most).
wait_transfer() {
  local seen=
  for _ in $(seq 100); do busy && { seen=1; break; }; sleep 0.1; done
  [ -n "$seen" ] || fail "no transfer was shown"
  for _ in $(seq 300); do busy || return 0; sleep 0.1; done
  fail "the transfer did not end"
}
# Waits (10 s at most) for the program to end; sets `status`.
wait_end() {
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "NeritMice still runs 10 s after SIGTERM"
  wait "$app"
  status=$?
  app=
}

# 1. Idle: a change on the page, then SIGTERM ends the program at once.
open_window
wait_transfer
read -r x y < <(middle profile2_inuse_option)
screenshot "$window"
before=$(pixels "$x" "$y")
click_at "$window" "$x" "$y"
for _ in $(seq 50); do screenshot "$window" && [ "$(pixels "$x" "$y")" != "$before" ] && break; sleep 0.1; done
[ "$(pixels "$x" "$y")" != "$before" ] || fail "the in-use option did not change"
kill -TERM "$app"
wait_end
[ "$status" -eq 143 ] || fail "ended with status $status, not as by SIGTERM (143)"
[ "$(stat -c %s "$pending" 2>/dev/null)" = "$store_size" ] || fail "the change was not kept in $pending"
[ -e "$applied" ] && fail "nothing was applied, yet $applied was written"
grep -q "still busy" "$work/err.txt" && fail "a wait was said while nothing was transferred"

# The kept change would be told in a notice at the next start, a message box
# that holds the loop (and the signal) until it is answered: not this test's.
rm -f "$pending"

# 2. Reading the profiles at the start: two signals meanwhile; the program
# ends once they are read (it then lights the LEDs, which the simulated mouse
# keeps in byte 9 of its state file on the way out).
start
window=$(find_window) || fail "no window titled \"$title\""
for _ in $(seq 100); do busy && break; sleep 0.1; done
busy || fail "the profiles were read before a signal could come"
kill -TERM "$app" || fail "NeritMice ended before the first signal"
sleep 0.3
kill -TERM "$app" || fail "NeritMice ended before the second signal"
busy || fail "the profiles were read before the second signal: no wait to test"
wait_end
[ "$status" -eq 143 ] || fail "ended with status $status, not as by SIGTERM (143)"
led=$(od -An -tu1 -j 9 -N 1 "$work/state" 2>/dev/null | tr -d ' ')
[ "$led" = "255" ] || fail "the profiles were not read to the end (state byte 9: ${led:-no file})"
[ "$(grep -c "still busy" "$work/err.txt")" -eq 1 ] || fail "the wait was not said in exactly one line"
echo "xvfb stop signals test passed"
