#!/usr/bin/env bash
# report.sh --quick prints the whole table: the date and machine lines, one
# row for every figure with a number in NeritMice's column, no cell that
# could not be read, and the folder that keeps the raw output.
set -u
report=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  cat "$work/out.txt" "$work/err.txt"
  exit 1
}

TMPDIR=$work "$report" --quick >"$work/out.txt" 2>"$work/err.txt"
status=$?
[ "$status" -eq 0 ] || fail "report.sh exited with $status"
grep -q '^Figures of [0-9-]* [0-9:]* UTC' "$work/out.txt" || fail "no date line"
grep -q '^Machine: `.*`, .*, [0-9]* cores, Debian ' "$work/out.txt" || fail "no machine line"
grep -qx '| figure | NeritMice | peer/floor | ratio | aim |' "$work/out.txt" || fail "no table header"
for row in "Device pacing" "Markup parser against pugixml" "Start to first window mapped" \
  "Start to first frame painted" "Full repaint of the main window" "Hover repaint of one button" \
  "Peak resident memory" "Start-up load of the five profiles"; do
  [ "$(grep -c "^| $row" "$work/out.txt")" = 1 ] || fail "not one row for \"$row\""
  line=$(grep "^| $row" "$work/out.txt")
  [ "$(tr -cd '|' <<<"$line" | wc -c)" = 6 ] || fail "row \"$row\" has not five cells"
  case $line in
    *"| error"*) fail "row \"$row\" has an error cell" ;;
    *"| not measured"*) ;;
    *) awk -F'|' '{ exit !($3 ~ /^ [0-9]/) }' <<<"$line" || fail "row \"$row\" has no figure of ours" ;;
  esac
done
raw=$(sed -n 's/^Raw output: //p' "$work/out.txt")
for name in transfer_bench markup_bench paint_bench startup_bench; do
  [ -s "$raw/$name.txt" ] || fail "no raw output of $name in \"$raw\""
done
case $raw in "$work"/*) ;; *) fail "raw output outside TMPDIR: $raw" ;; esac
echo "report table complete"
