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
: >"$work/out.txt"
: >"$work/err.txt"
source "$(dirname "$0")/../ui/xvfb_common.sh"
command -v xwd >/dev/null || { echo "xwd missing"; exit 77; }
source "$(dirname "$0")/../xwd_pixels.sh"

title=" Corvanta Vimo Mouse Utility "
# The middle of the caption's close button, "closebtn" of the main frame's layout (189).
layout="$(dirname "$0")/../../resources/xml/189_main_frame.xml"
read -r close_x close_y < <(sed -n 's/.*name="closebtn".*pos="\([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\)".*/\1 \2 \3 \4/p' \
  "$layout" | awk '{ print int(($1 + $3) / 2), int(($2 + $4) / 2) }')
[ -n "${close_y:-}" ] || fail "no closebtn in $layout"
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"

start() {
  "$program" --simulate="$work/state" --data-dir "$work/data" >>"$work/out.txt" 2>>"$work/err.txt" &
  app=$!
}

# Prints the id of the program's visible main window once it shows.
find_window() {
  local window
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && { echo "$window"; return 0; }
    kill -0 "$app" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# The caption, the page and the close button; a painted frame is not black there.
probes() {
  local shot=$work/shot.xwd
  echo "$(xwd_pixel "$shot" 100 24) $(xwd_pixel "$shot" 500 340) $(xwd_pixel "$shot" "$close_x" "$close_y")" \
       "$(xwd_pixel "$shot" 300 600)"
}

# Waits until the window's screenshot shows a painted frame (it comes before
# the profiles are read), leaving it in shot.xwd.
wait_painted() {
  local window=$1 seen
  for _ in $(seq 150); do
    if xwd -silent -id "$window" -out "$work/shot.xwd" 2>/dev/null && [ -s "$work/shot.xwd" ]; then
      seen=$(probes)
      case "$seen" in *[1-9a-f]*) echo "painted: $seen"; return 0 ;; esac
    fi
    kill -0 "$app" 2>/dev/null || fail "NeritMice ended before its window was painted"
    sleep 0.2
  done
  fail "the window stayed black: ${seen:-no screenshot}"
}

# Clicks the close button and answers its question with Enter until the
# program ends (bounded): clicks are ignored while the profiles load, and
# the exit question may not be up yet when Enter comes.
close_window() {
  local window=$1 status x y
  read -r x y < <(xdotool getwindowgeometry "$window" | awk '/Position/ { split($2, at, ","); print at[1], at[2] }')
  [ -n "$y" ] || fail "no position for window $window"
  for _ in $(seq 60); do
    xdotool mousemove "$((x + close_x))" "$((y + close_y))" click 1
    sleep 0.25
    kill -0 "$app" 2>/dev/null || break
    xdotool key Return
    sleep 0.25
    kill -0 "$app" 2>/dev/null || break
  done
  kill -0 "$app" 2>/dev/null && fail "NeritMice still runs 30 s after its close button was first clicked"
  wait "$app"
  status=$?
  app=
  [ "$status" -eq 0 ] || fail "NeritMice ended with status $status"
  for _ in $(seq 50); do
    [ -z "$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  fail "the window stayed after the program ended"
}

start
window=$(find_window)
if [ -z "$window" ]; then
  # SDL could not use the X server at all: nothing to click.
  grep -q "cannot open the display" "$work/err.txt" && { cat "$work/err.txt"; exit 77; }
  fail "no window titled \"$title\""
fi
wait_painted "$window"

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
start
window=$(find_window) || fail "the second start showed no window"
wait_painted "$window"
close_window "$window"
echo "xvfb NeritMice test passed"
