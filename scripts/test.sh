#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test twice: in the
# normal build and under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"

bash "$root/scripts/build.sh" build -DNERIT_BUILD_BENCH=ON
(cd "$root/build" && ctest --output-on-failure --parallel "$(nproc)")

bash "$root/scripts/build.sh" build-asan -DNERIT_SANITIZE=ON -DNERIT_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure --parallel "$(nproc)")
