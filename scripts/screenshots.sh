#!/usr/bin/env bash
# Renders every page of the QVSetting window and the IO schedule window offscreen (logged on to
# an in-process simulated appliance), in English and in Korean, at 100 % and at 200 %, to
# docs/screenshots/<page>-<lang>.png and <page>-<lang>@2x.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target qv_screenshots

export QT_QPA_PLATFORM=offscreen
for scale in 1 2; do
    for lang in en ko; do
        QT_SCALE_FACTOR=$scale build/tests/app/qv_screenshots docs/screenshots "$lang"
    done
done
