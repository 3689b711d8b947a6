#!/usr/bin/env bash
# A real window on an X display (with_xvfb.sh gives it a private Xvfb):
# the pointer rests on the controls page's button until its tooltip shows,
# then one click must give exactly one "click" (the tooltip window must not
# have taken the focus or swallowed the release). Repeated, since a lost
# release did not happen every time. Skipped (77) without a display or
# xdotool.
set -u
demo=$1
rounds=${2:-6}
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/xvfb_common.sh"

"$demo" --layout controls >"$work/out.txt" 2>"$work/err.txt" &
app=$!
window=$(timeout 10 xdotool search --sync --name "NeritMice UI demo" | head -n 1)
if [ -z "$window" ]; then
  cat "$work/err.txt"
  grep -q "no display" "$work/err.txt" && exit 77
  echo "no window"
  exit 1
fi
round=0
wait_lines "^notify windowinit controls_page$"

# The button spans 8..88 × 36..62 of the page; below the buttons' row lies
# the page's plain background (x 300, y 8 is above them, in the title text's
# row end, where no tooltip is).
for round in $(seq "$rounds"); do
  xdotool mousemove --window "$window" 600 20
  sleep 0.3
  xdotool mousemove --window "$window" 47 49 mousemove --window "$window" 48 49
  # Longer than the hover time: the tooltip is shown.
  sleep 1.6
  xdotool click 1
  wait_lines "^notify click demo_button$" "$round"
done
kill "$app" 2>/dev/null
wait "$app" 2>/dev/null
app=
[ "$(grep -c "^notify click demo_button$" "$work/out.txt")" -eq "$rounds" ] || fail "not one click per press"
echo "xvfb tooltip click test passed"
