#!/usr/bin/env bash
# Builds and runs every test: the whole project with its widget and end-to-end tests, the Debian
# package built and checked, the window's code checked for Windows, qvctl and qvsim cross-built
# for Windows with their tests under wine,
# then the Qt-free part again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the link and simulator tests under ThreadSanitizer, then short
# fuzzing runs of the frame readers, the .xlsx reader, the Wake-on-LAN list import, qvsim's
# state file reader, the backup file reader and the address book reader with their saved inputs
# replayed.
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

echo "== Windows: the window's code compiled for Windows (syntax only), qvctl.exe and qvsim.exe"\
    "cross-built with mingw-w64, their tests under wine64"
scripts/cross-windows.sh build-win

echo "== sanitizers (address, undefined behaviour)"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_GUI=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600

echo "== thread sanitizer: the link (its receive thread hands frames on) and the simulator"
cmake -S "$root" -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_TSAN=ON \
    -DQV_BUILD_GUI=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target link_tests sim_tests
for tests in build-tsan/tests/link/link_tests build-tsan/tests/sim/sim_tests; do
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 "$tests"
done

echo "== fuzzing (libFuzzer, clang-14): saved inputs, then short runs"
cmake -S "$root" -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DQV_FUZZ=ON -DQV_BUILD_GUI=OFF -DQV_BUILD_TESTS=ON >/dev/null
targets=(reply_reader request_reader xlsx_reader wol_csv state_file backup_file appliance_book)
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
cmake --build build-fuzz -j "$jobs" --target "${targets[@]/#/fuzz_}"
for target in "${targets[@]}"; do
    corpus=tests/fuzz/corpus/$target
    scratch=build-fuzz/scratch-corpus/$target # grows with every run; never committed
    mkdir -p "$scratch"
    fuzzer=("build-fuzz/tests/fuzz/fuzz_$target" -rss_limit_mb=2048 -print_final_stats=1)
    "build-fuzz/tests/fuzz/fuzz_$target" "$corpus"/*
    case $target in
    reply_reader | request_reader)
        # Frames of every kind fit in 16 KB, where mutations pay most; a short run of large
        # inputs then checks that no length taken from a header (uploads announce up to 64 MiB)
        # is allocated whole.
        "${fuzzer[@]}" -max_len=16384 -max_total_time=20 "$scratch" "$corpus"
        "${fuzzer[@]}" -max_len=1048576 -max_total_time=10 -malloc_limit_mb=16 "$scratch"
        ;;
    xlsx_reader)
        # A workbook read inflates at most 48 MiB and keeps less; an allocation near 512 MiB
        # means a size taken from the file was trusted.
        "${fuzzer[@]}" -max_total_time=20 -malloc_limit_mb=512 "$scratch" "$corpus"
        ;;
    state_file)
        # Inputs in the target's compact form (a table's bytes may be given as " *") are about
        # 1 KB when valid, so accepted ones happen; one table written out in full is 21 KB.
        "${fuzzer[@]}" -max_len=32768 -max_total_time=15 -malloc_limit_mb=64 "$scratch" "$corpus"
        ;;
    backup_file)
        # A whole backup is about 250 KB of JSON; its reader keeps at most the 4 MiB it reads.
        "${fuzzer[@]}" -max_len=327680 -max_total_time=15 -malloc_limit_mb=512 "$scratch" "$corpus"
        ;;
    *)
        "${fuzzer[@]}" -max_len=16384 -max_total_time=15 -malloc_limit_mb=64 "$scratch" "$corpus"
        ;;
    esac
done
