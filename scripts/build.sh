#!/usr/bin/env bash
# Configures and builds one build tree: build.sh DIR [cmake options...]
set -euo pipefail
dir=$1; shift
root=$(cd "$(dirname "$0")/.." && pwd)
# Ninja where it is installed (scripts/setup.sh installs it) and no other
# generator is asked for (CMAKE_GENERATOR); a tree that was
# configured before keeps the generator it has.
generator=()
if [ -z "${CMAKE_GENERATOR:-}" ] && [ ! -f "$root/$dir/CMakeCache.txt" ] && command -v ninja >/dev/null; then
  generator=(-G Ninja)
fi
cmake -S "$root" -B "$root/$dir" "${generator[@]}" "$@" >/dev/null
cmake --build "$root/$dir" --parallel "$(nproc)"
