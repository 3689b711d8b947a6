#!/usr/bin/env bash
# Start-up of NeritMice against the simulated mouse with its pauses at zero,
# and of Piper where it is installed, under one private Xvfb (run it through
# tests/with_xvfb.sh): startup_bench.sh NERITMICE [RUNS]
#
# Every run starts from fresh folders and is watched from outside, the same
# way for both programs: the time from the start to the first top-level
# window mapped (MapNotify on the root, seen by xev), to its first painted
# frame (screenshots polled with xwd until the window is not black, so late by
# up to one poll; NeritMice paints its first frame before it asks the mouse
# anything), and the peak resident memory (VmHWM) one second after that
# frame, when the profiles have been read.
# Prints medians; asserts nothing.
set -u
program=$1
runs=${2:-15}
for tool in xev xwd xdotool stdbuf; do
  command -v "$tool" >/dev/null || { echo "$tool missing: not measured"; exit 77; }
done
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY (run it through with_xvfb.sh)"; exit 77; }
source "$(dirname "$0")/../tests/xwd_pixels.sh"
work=$(mktemp -d)
app=
watcher=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$watcher" ] && kill "$watcher" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# Every top-level window mapped gets a line with the time it was seen.
: >"$work/maps"
{
  stdbuf -oL xev -root -event substructure 2>/dev/null &
  echo $! >"$work/xev.pid"
  wait
} | while IFS= read -r line; do
  case $line in MapNotify*) echo "$EPOCHREALTIME" >>"$work/maps" ;; esac
done &
# The watcher needs a moment to select the root's events.
sleep 0.5
watcher=$(cat "$work/xev.pid")

micros() { local t=${1//[.,]/}; echo "$((10#$t))"; }

# True when the window's top rows (256 KiB of pixels) are mostly lit: the
# first frame has been painted.
painted() {
  xwd -silent -id "$1" -out "$2" 2>/dev/null && [ "$(xwd_lit_percent "$2" 262144)" -gt 50 ]
}

# One run of the command given; appends "mapped_ms painted_ms peak_kB" to
# the file named by $1, or tells why the run gave nothing.
measure() {
  local results=$1 run=$work/run
  shift
  rm -rf "$run"
  mkdir -p "$run/runtime" "$run/home"
  chmod 700 "$run/runtime"
  local before start window="" mapped="" paint="" peak
  before=$(wc -l <"$work/maps")
  start=$EPOCHREALTIME
  HOME="$run/home" XDG_RUNTIME_DIR="$run/runtime" XDG_CONFIG_HOME="$run/home/config" \
    XDG_CACHE_HOME="$run/home/cache" XDG_DATA_HOME="$run/home/data" VIMO_SIMULATE_PAUSES=0 \
    "$@" >"$run/out.txt" 2>"$run/err.txt" &
  app=$!
  for _ in $(seq 3000); do
    [ -z "$mapped" ] && [ "$(wc -l <"$work/maps")" -gt "$before" ] && mapped=$(sed -n "$((before + 1))p" "$work/maps")
    [ -n "$mapped" ] && [ -z "$window" ] && window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1)
    if [ -n "$window" ] && painted "$window" "$run/shot.xwd"; then
      paint=$EPOCHREALTIME
      break
    fi
    kill -0 "$app" 2>/dev/null || break
    sleep 0.002
  done
  if [ -n "$paint" ]; then
    sleep 1
    peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$app/status" 2>/dev/null)
    echo "$(( ($(micros "$mapped") - $(micros "$start")) / 1000 )) $(( ($(micros "$paint") - $(micros "$start")) / 1000 )) ${peak:-0}" >>"$results"
  else
    echo "no painted window from $1:"
    head -n 5 "$run/err.txt"
  fi
  kill "$app" 2>/dev/null
  wait "$app" 2>/dev/null
  app=
  # Its windows are gone before the next run watches for new ones.
  sleep 0.3
}

# Prints the median of column N of FILE.
median() {
  awk -v n="$2" '{ print $n }' "$1" | sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print 0; else if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

piper=$(command -v piper || true)
: >"$work/ours" >"$work/piper"
for round in $(seq "$runs"); do
  measure "$work/ours" "$program" --simulate="$work/run/state" --data-dir "$work/run/data"
  [ -n "$piper" ] && measure "$work/piper" "$piper"
done

report() {
  local name=$1 file=$2
  printf '%-10s runs %2d  first window mapped %5d ms  first frame painted %5d ms  peak RSS %7d kB\n' "$name" \
    "$(wc -l <"$file")" "$(median "$file" 1)" "$(median "$file" 2)" "$(median "$file" 3)"
}
echo "medians of $runs runs (NeritMice: simulated mouse, pauses at zero, fresh data folder each run)"
report NeritMice "$work/ours"
if [ -z "$piper" ]; then
  echo "Piper: not installed, not measured"
  exit 0
fi
report Piper "$work/piper"
[ -s "$work/ours" ] && [ -s "$work/piper" ] || { echo "ratios: not measured"; exit 0; }
ratio() { awk -v a="$(median "$work/ours" "$1")" -v b="$(median "$work/piper" "$1")" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
echo "NeritMice/Piper: first window mapped $(ratio 1)  first frame painted $(ratio 2)  peak RSS $(ratio 3)"
