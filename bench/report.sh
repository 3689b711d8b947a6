#!/usr/bin/env bash
# Runs every benchmark and prints one markdown table of their figures, with
# the date and the machine above it, ready for the README:
#
#   build/bench/report.sh [--quick]
#
# (the build tree's report.sh calls this one with --bench-dir). --quick runs
# each benchmark briefly, for a smoke test; its figures are rough. The raw
# output of every benchmark stays in a fresh folder (under $TMPDIR) whose path
# is the last line printed. A figure that could not be read shows "error";
# one that needs a missing tool or peer says so.
set -u
quick=0
bench=$(dirname "$0")
while [ $# -gt 0 ]; do
  case $1 in
    --quick) quick=1 ;;
    --bench-dir) [ $# -ge 2 ] || { echo "--bench-dir needs a folder" >&2; exit 2; }; bench=$2; shift ;;
    *) echo "usage: report.sh [--quick] [--bench-dir DIR]" >&2; exit 2 ;;
  esac
  shift
done
raw=$(mktemp -d "${TMPDIR:-/tmp}/neritmice-report-XXXXXX") || exit 1

# Runs NAME COMMAND...: output in $raw/NAME.txt, exit status in $raw/NAME.rc.
run() {
  local name=$1
  shift
  echo "running $name" >&2
  "$@" >"$raw/$name.txt" 2>&1
  echo $? >"$raw/$name.rc"
}

if [ "$quick" = 1 ]; then
  min_time=0.05 repetitions=1 startup_runs=1 transfer_args=--quick
else
  min_time=0.5 repetitions=5 startup_runs=15 transfer_args=
fi
gbench() {
  local name=$1 filter=$2
  run "$name" "$bench/$name" --benchmark_filter="$filter" --benchmark_min_time="$min_time" \
    --benchmark_repetitions="$repetitions" --benchmark_out="$raw/$name.json" --benchmark_out_format=json
}

run transfer_bench "$bench/transfer_bench" $transfer_args
gbench markup_bench '^(OurParser|Pugixml)$'
gbench paint_bench '^MainWindow'
run startup_bench "$bench/startup_bench" "$startup_runs"

cpu=$(LC_ALL=C lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n 1)
[ -n "$cpu" ] || cpu=$(sed -n 's/^model name[[:space:]]*: *//p' /proc/cpuinfo | head -n 1)
debian=$(cat /etc/debian_version 2>/dev/null || echo unknown)
echo "Figures of $(date -u '+%Y-%m-%d %H:%M UTC'), $([ "$quick" = 1 ] && echo 'quick run' || echo 'full run')  "
echo "Machine: \`$(uname -srm)\`, ${cpu:-unknown CPU}, $(nproc) cores, Debian $debian"
echo
python3 "$(dirname "$0")/report_table.py" "$raw" "$startup_runs"
status=$?
echo
echo "Raw output: $raw"
exit $status
