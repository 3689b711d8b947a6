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
export DISPLAY=":$number"
# NERIT_WINDOW_MANAGER=openbox runs the command under a real window manager,
# as on the users' desktops (closes popups, moves and frames windows).
if [ -n "${NERIT_WINDOW_MANAGER:-}" ]; then
  command -v "$NERIT_WINDOW_MANAGER" >/dev/null || { echo "$NERIT_WINDOW_MANAGER missing"; exit 77; }
  "$NERIT_WINDOW_MANAGER" >"$work/wm.log" 2>&1 &
  wm=$!
  trap 'kill "$wm" 2>/dev/null; kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
  # It manages the screen once it has named itself on the root window.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { cat "$work/wm.log"; echo "$NERIT_WINDOW_MANAGER did not start"; exit 77; }
fi
"$@"
