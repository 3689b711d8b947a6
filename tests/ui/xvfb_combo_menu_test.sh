#!/usr/bin/env bash
# A real window on an X display (with_xvfb.sh gives it a private Xvfb):
# ui_demo shows its controls page through SDL2 and xdotool drives the combo
# (an item clicked in the drop-down, then one chosen with Down and Return)
# and the popup menu (the "Macros" entry hovered, "Macro 1" of its
# sub-menu clicked). The output must show each itemselect with its new and
# old index, and exactly the command 2010 followed by 1999. Every wait polls
# briefly under an overall bound. Skipped (77) without a display or xdotool.
set -u
demo=$1
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/xvfb_common.sh"

# Moves the pointer to X,Y of the demo's window and waits until a window
# other than those named lies under it (a pop-up has opened there).
wait_popup_at() {
  local x=$1 y=$2; shift 2
  local under
  for _ in $(seq 150); do
    xdotool mousemove --window "$window" "$x" "$y"
    under=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
    if [ -n "$under" ] && ! printf '%s\n' "$window" "$root" "$@" | grep -qx -- "$under"; then
      # A small move inside the pop-up, so that it sees the pointer arrive.
      xdotool mousemove --window "$window" "$((x + 1))" "$y" mousemove --window "$window" "$x" "$y"
      popup=$under
      return 0
    fi
    sleep 0.1
  done
  fail "no pop-up opened at $x,$y"
}

# Waits until the demo's own window is under X,Y again (the pop-up closed).
wait_closed_at() {
  local x=$1 y=$2
  for _ in $(seq 150); do
    xdotool mousemove --window "$window" "$x" "$y"
    [ "$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')" = "$window" ] && return 0
    sleep 0.1
  done
  fail "the pop-up at $x,$y did not close"
}

"$demo" --layout controls --exit-after "menu command 1999" >"$work/out.txt" 2>"$work/err.txt" &
app=$!
window=$(timeout 10 xdotool search --sync --name "NeritMice UI demo" | head -n 1)
if [ -z "$window" ]; then
  cat "$work/err.txt"
  # SDL could not use the X server at all: nothing to click.
  grep -q "no display" "$work/err.txt" && exit 77
  echo "no window"
  exit 1
fi
wait_lines "^notify windowinit controls_page$"
# The desktop's root window, which lies under the pointer outside every
# window: it is never taken for a pop-up (the window is at 100,100).
xdotool mousemove 0 0
root=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')

# The combo spans 456..606 × 96..120 of the page; its drop-down opens below
# it with rows 22 high, so the third row ("Blue", index 2) is at y 164..186.
xdotool mousemove --window "$window" 530 108 click 1
wait_lines "^notify dropdown demo_combo$" 1
wait_popup_at 530 175
xdotool click 1
wait_lines "^notify itemselect demo_combo 2 0$"
wait_closed_at 530 175

# Open again; Down moves to the next item and Return closes the drop-down.
xdotool mousemove --window "$window" 530 108 click 1
wait_lines "^notify dropdown demo_combo$" 2
wait_popup_at 530 175
xdotool key Down
wait_lines "^notify itemselect demo_combo 3 2$"
xdotool key Return
wait_closed_at 530 175

# The menu button spans 448..534 × 36..62; the menu opens at its bottom
# left, 180 wide: two entries of 20, a separator of 2, then "Macros" at
# 104..124, whose sub-menu opens to its right, level with it.
xdotool mousemove --window "$window" 490 49 click 1
wait_lines "^notify click menu_button$"
wait_popup_at 530 114
menu=$popup
wait_popup_at 700 114 "$menu"
xdotool click 1
wait_lines "^menu command 1999$"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the demo did not end after the menu closed"
app=

cat "$work/out.txt"
[ "$(grep "^menu command" "$work/out.txt" | tr '\n' ' ')" = "menu command 2010 menu command 1999 " ] \
  || fail "the menu did not deliver exactly 2010 then 1999"
[ "$(grep -c "^notify itemselect demo_combo" "$work/out.txt")" -eq 2 ] || fail "itemselect count"
echo "xvfb combo and menu test passed"
