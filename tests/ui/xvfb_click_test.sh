#!/usr/bin/env bash
# A real window on an X display (with_xvfb.sh gives it a private Xvfb):
# ui_demo shows the sample layout through SDL2, xdotool clicks option "B",
# and the demo must report the click and the selection, and leave a
# screenshot. Skipped (77) without a display or xdotool.
set -u
demo=$1
work=$(mktemp -d)
trap 'kill "$app" 2>/dev/null; rm -rf "$work"' EXIT
command -v xdotool >/dev/null || { echo "xdotool missing"; exit 77; }
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY (run it through with_xvfb.sh)"; exit 77; }
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

"$demo" --exit-after-click --png "$work/shot.png" >"$work/out.txt" 2>"$work/err.txt" &
app=$!
window=$(timeout 10 xdotool search --sync --name "NeritMice UI demo" | head -n 1)
if [ -z "$window" ]; then
  cat "$work/err.txt"
  # SDL could not use the X server at all: nothing to click.
  grep -q "no display" "$work/err.txt" && exit 77
  echo "no window"
  exit 1
fi
# Option B of the sample layout lies in the middle of the window's third band.
for _ in $(seq 50); do grep -q windowinit "$work/out.txt" && break; sleep 0.1; done
xdotool mousemove --window "$window" 160 116 click 1
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done

cat "$work/out.txt"
grep -q "^notify click sample_b$" "$work/out.txt" || { echo "no click from sample_b"; exit 1; }
grep -q "^notify selectchanged sample_b$" "$work/out.txt" || { echo "no selectchanged"; exit 1; }
[ -s "$work/shot.png" ] || { echo "no screenshot"; exit 1; }
echo "xvfb click test passed"
