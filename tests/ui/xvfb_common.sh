# Shared by the Xvfb scripts that drive ui_demo with xdotool; sourced after
# `work` (a mktemp folder holding out.txt and err.txt) is set. Skips (77)
# without xdotool or a display, and waits until the X server answers.
command -v xdotool >/dev/null || { echo "xdotool missing"; exit 77; }
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY (run it through with_xvfb.sh)"; exit 77; }
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

fail() {
  echo "$1"
  echo "--- output"; cat "$work/out.txt"
  echo "--- errors"; cat "$work/err.txt"
  exit 1
}

# Waits until the output holds at least COUNT lines matching PATTERN.
wait_lines() {
  local pattern=$1 count=${2:-1}
  for _ in $(seq 150); do
    [ "$(grep -c -- "$pattern" "$work/out.txt")" -ge "$count" ] && return 0
    sleep 0.1
  done
  fail "timed out waiting for: $pattern${round:+ (round $round)}"
}
