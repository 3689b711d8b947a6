#!/usr/bin/env bash
# Runs a command on a private Xvfb display: with_xvfb.sh COMMAND [ARGS...]
# Xvfb picks a free display itself (-displayfd), so runs in parallel never
# meet; -noreset keeps it from resetting (and refusing connections for a
# moment) whenever its last client leaves. Exits 77 (skipped) when Xvfb is not installed or cannot start.
set -u
command -v Xvfb >/dev/null || { echo "Xvfb missing"; exit 77; }
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb=$!
number=$(timeout 20 head -n 1 "$work/displayfd")
if [ -z "$number" ]; then
  cat "$work/xvfb.log"
  echo "Xvfb did not start"
  exit 77
fi
DISPLAY=":$number" "$@"
