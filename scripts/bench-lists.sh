#!/usr/bin/env bash
# Times the IO schedule window's lists filled with 1024 IO devices and 2040 schedules beside bare
# table views over the same rows, offscreen, and prints the ratio. Builds what it needs in build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target bench_lists
QT_QPA_PLATFORM=offscreen build/tests/bench/bench_lists "$@"
