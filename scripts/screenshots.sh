#!/usr/bin/env bash
# Renders the QVSetting window offscreen, on the logon page and on the product summary page
# (logged on to an in-process simulated appliance), in English and in Korean, to
# docs/screenshots/*.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target qv_screenshots

export QT_QPA_PLATFORM=offscreen
for lang in en ko; do
    build/tests/app/qv_screenshots docs/screenshots "$lang"
done
