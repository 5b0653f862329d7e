#!/usr/bin/env bash
# Times the spreadsheet backend against openpyxl on the full timetable sheet: writing it through
# the automation calls and reading its block back. Builds what it needs in build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target bench_sheet
build/tests/bench/bench_sheet
