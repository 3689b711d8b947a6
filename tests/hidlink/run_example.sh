#!/usr/bin/env bash
# Runs an example against a new simulated mouse whose state lives in a
# temporary folder of its own, with profile 3 current, and checks that the
# example leaves the mouse on profile 3.
#   run_example.sh NERITCTL COMMAND [ARGS...]
set -euo pipefail
neritctl=$1
shift
dir=$(mktemp -d "${TMPDIR:-/tmp}/hidlink-example-XXXXXX")
trap 'rm -rf "$dir"' EXIT
mouse=(--simulate="$dir/mouse.state" --data-dir="$dir/data")
"$neritctl" "${mouse[@]}" reset-profile 3 >/dev/null 2>&1
VIMO_SIMULATE="$dir/mouse.state" "$@"
after=$("$neritctl" "${mouse[@]}" info 2>/dev/null | grep '^current profile:')
if [ "$after" != "current profile: 3" ]; then
    echo "run_example.sh: the example left the mouse on '${after}', not on profile 3" >&2
    exit 1
fi
echo "mouse left on profile 3"
