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
"$ctl" "${mode[@]}" info
"$ctl" "${mode[@]}" dump
