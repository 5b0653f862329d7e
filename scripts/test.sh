#!/usr/bin/env bash
# Builds and runs every test: the whole project with its widget and end-to-end tests, the Debian
# package built and checked, then the Qt-free part again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then short fuzzing runs of the frame readers and the .xlsx reader
# with their saved inputs replayed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== build and test"
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300

echo "== Debian package: build it from the release build and check its contents"
scripts/package.sh

echo "== sanitizers (address, undefined behaviour)"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_GUI=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600

echo "== fuzzing (libFuzzer, clang-14): saved inputs, then a short run"
cmake -S "$root" -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DQV_FUZZ=ON -DQV_BUILD_GUI=OFF -DQV_BUILD_TESTS=ON >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_reply_reader fuzz_request_reader fuzz_xlsx_reader
for target in reply_reader request_reader xlsx_reader; do
    corpus=tests/fuzz/corpus/$target
    scratch=build-fuzz/scratch-corpus/$target # grows with every run; never committed
    mkdir -p "$scratch"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "build-fuzz/tests/fuzz/fuzz_$target" "$corpus"/*
    budget=(-max_total_time=30 -rss_limit_mb=2048)
    if [[ $target == xlsx_reader ]]; then
        # A workbook read inflates at most 48 MiB and keeps less; an allocation near 512 MiB
        # means a size taken from the file was trusted.
        budget=(-max_total_time=20 -rss_limit_mb=2048 -malloc_limit_mb=512)
    fi
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "build-fuzz/tests/fuzz/fuzz_$target" "${budget[@]}" -print_final_stats=1 \
        "$scratch" "$corpus"
done
