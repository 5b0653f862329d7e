#!/usr/bin/env bash
# Times a 16 MiB web archive upload to qvsim over loopback against a plain socket send of the
# same bytes in the same run. Builds what it needs in build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target bench_upload
build/tests/bench/bench_upload
