#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test twice: in the
# normal build and under AddressSanitizer + UndefinedBehaviorSanitizer.
# The sanitizer build takes the normal build's skin folders instead of
# drawing them again, leaves out the benchmarks, and carries line tables
# only (-g1: enough for the sanitizers' reports); checks of files, installs
# and the Debian package run in the normal build only (tests/CMakeLists.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"

# Each half's wall and CPU time, for keeping the run inside CI's limit.
# The CPU time (user + system, in clock ticks) of this script's finished children.
child_ticks() { sed 's/.*) //' "/proc/$$/stat" | awk '{ print $14 + $15 }'; }
half_start() { started=$SECONDS; ticks=$(child_ticks); }
half_end() {
  echo "test.sh: $1: $((SECONDS - started)) s wall," \
       "$((($(child_ticks) - ticks) / $(getconf CLK_TCK))) s CPU (user + system)"
}

half_start
bash "$root/scripts/build.sh" build -DNERIT_BUILD_BENCH=ON
(cd "$root/build" && ctest --output-on-failure --parallel "$(nproc)")
half_end "normal build and tests"

half_start
bash "$root/scripts/build.sh" build-asan -DNERIT_SANITIZE=ON -DNERIT_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DNERIT_SKINS_FROM="$root/build/app"
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure --parallel "$(nproc)")
half_end "sanitizer build and tests"
