#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job: neritctl against the
# real mouse when one is plugged in, otherwise against the simulated mouse.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
# The same build tree and options as test.sh, so either may come first.
bash "$root/scripts/build.sh" build -DNERIT_BUILD_BENCH=ON
ctl="$root/build/cli/neritctl"
if [ "$#" -gt 0 ]; then
  exec "$ctl" "$@"
fi
mode=()
if ! "$ctl" info >/dev/null 2>&1; then
  echo "(no Vimo mouse could be opened: using the simulated mouse)"
  mode=(--simulate)
fi
# The program: its window on a display with the simulated mouse; otherwise
# (no display, or a mouse plugged in) a picture of its main window.
program="$root/build/app/NeritMice"
shown=false
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${#mode[@]}" -gt 0 ]; then
  echo "(starting NeritMice on the simulated mouse; close its window to go on)"
  "$program" --simulate && shown=true
fi
if [ "$shown" = false ]; then
  picture="$root/build/neritmice.png"
  if "$program" --headless "${mode[@]}" --screenshot "$picture" >/dev/null 2>&1; then
    echo "NeritMice's main window: $picture"
  else
    echo "(NeritMice could not draw its main window)"
  fi
fi
"$ctl" "${mode[@]}" info
"$ctl" "${mode[@]}" dump
