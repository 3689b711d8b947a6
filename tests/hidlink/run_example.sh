#!/usr/bin/env bash
# Runs an example against a new simulated mouse whose state lives in a
# temporary folder of its own.
#   run_example.sh COMMAND [ARGS...]
set -euo pipefail
dir=$(mktemp -d "${TMPDIR:-/tmp}/hidlink-example-XXXXXX")
trap 'rm -rf "$dir"' EXIT
VIMO_SIMULATE="$dir/mouse.state" "$@"
