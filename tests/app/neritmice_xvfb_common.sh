# shellcheck shell=bash
# Shared by the Xvfb scripts that drive the real NeritMice against the
# simulated mouse; sourced after `program` (the NeritMice binary) and `work`
# (a mktemp folder) are set and `app` is cleared. Skips (77) without a
# display, xdotool or xwd. The program keeps its state file, data folder and
# runtime folder inside `work`.
here=$(dirname "${BASH_SOURCE[0]}")
: >"$work/out.txt"
: >"$work/err.txt"
# shellcheck source=tests/ui/xvfb_common.sh
source "$here/../ui/xvfb_common.sh"
command -v xwd >/dev/null || { echo "xwd missing"; exit 77; }
# shellcheck source=tests/xwd_pixels.sh
source "$here/../xwd_pixels.sh"

title=" Corvanta Vimo Mouse Utility "
# The middle of the caption's close button, "closebtn" of the main frame's layout (189).
layout="$here/../../resources/xml/189_main_frame.xml"
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

# Takes WINDOW's screenshot into shot.xwd; false when there is none.
screenshot() {
  xwd -silent -id "$1" -out "$work/shot.xwd" 2>/dev/null && [ -s "$work/shot.xwd" ]
}

# Prints the colours of shot.xwd at the window points X Y [X Y ...].
pixels() {
  local seen=
  while [ $# -ge 2 ]; do
    seen="$seen $(xwd_pixel "$work/shot.xwd" "$1" "$2")"
    shift 2
  done
  echo "$seen"
}

# Waits until the window's screenshot shows a painted frame (it comes before
# the profiles are read): the caption, the page and the close button are not
# black there. Leaves the screenshot in shot.xwd.
wait_painted() {
  local window=$1 seen
  for _ in $(seq 150); do
    if screenshot "$window"; then
      seen=$(pixels 100 24 500 340 "$close_x" "$close_y" 300 600)
      case "$seen" in *[1-9a-f]*) echo "painted:$seen"; return 0 ;; esac
    fi
    kill -0 "$app" 2>/dev/null || fail "NeritMice ended before its window was painted"
    sleep 0.2
  done
  fail "the window stayed black: ${seen:-no screenshot}"
}

# Starts the program and sets `window` to its main window once painted.
# Skips (77) when SDL cannot use the X server at all: nothing to click.
open_window() {
  start
  window=$(find_window)
  if [ -z "$window" ]; then
    grep -q "cannot open the display" "$work/err.txt" && { cat "$work/err.txt"; exit 77; }
    fail "no window titled \"$title\""
  fi
  wait_painted "$window"
}

# Prints the screen position of WINDOW's top left corner.
window_origin() {
  xdotool getwindowgeometry "$1" | awk '/Position/ { split($2, at, ","); print at[1], at[2] }'
}

# Moves the pointer to the point X Y of WINDOW, lets the window see it
# there, and clicks the left button; false when the window is gone.
click_if_shown() {
  local window=$1 x y
  read -r x y < <(window_origin "$window" 2>/dev/null)
  [ -n "$y" ] || return 1
  xdotool mousemove "$((x + $2))" "$((y + $3))"
  sleep 0.2
  xdotool click 1
}

click_at() {
  click_if_shown "$@" || fail "no position for window $1"
}

# Whether the program's process has ended, waiting up to TENTHS of a second.
ended_within() {
  for _ in $(seq "$1"); do
    kill -0 "$app" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Clicks the close button and answers its question with Enter until the
# program ends (bounded): clicks are ignored while the profiles load, and
# the exit question may not be up yet when Enter comes. Once the window is
# gone the process may still be tearing down (slowly in the sanitizer
# build): then it is only waited for.
close_window() {
  local window=$1 status
  for _ in $(seq 43); do
    click_if_shown "$window" "$close_x" "$close_y" || break
    ended_within 3 && break
    xdotool key Return
    ended_within 3 && break
  done
  ended_within 100 || fail "NeritMice still runs 30 s after its close button was first clicked"
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
