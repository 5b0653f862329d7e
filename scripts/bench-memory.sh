#!/usr/bin/env bash
# QVSetting's resident memory and time to a visible window beside a three-control Qt Widgets
# window built with the same Qt, offscreen, five runs each for memory and 41 pairs for the time
# (medians; the time ratio is the median of each pair's):
#   - the memory on the logon page and the time until it is visible;
#   - the memory after logging on to qvsim with a full plant (1024 IO devices, 2040 schedules)
#     and following every navigation link.
# Prints both sides and the ratios. Builds what it needs in build/. A benchmark: it reports, it
# never fails on a slow machine. RUNS=N and TIME_RUNS=N change the numbers of runs and pairs;
# QV_BENCH_SMAPS=PREFIX keeps each program's /proc/self/smaps at every memory reading
# (PREFIX.logon_rss_kb, ..., PREFIX.link_1001_rss_kb after each link), to see which mappings the
# memory is in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${RUNS:-5}
time_runs=${TIME_RUNS:-41}

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target bench_window bench_reference_window qvsim
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

work=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

build/sim/qvsim --port 0 --devices 1024 --schedules 2040 \
    >"$work/qvsim.log" 2>&1 &
sim_pid=$!
address=
for _ in $(seq 1 300); do
    address=$(sed -n 's/^qvsim listening on \([^ ]*\).*/\1/p' "$work/qvsim.log" | head -n 1)
    [ -n "$address" ] && break
    sleep 0.1
done
if [ -z "$address" ]; then
    echo "qvsim did not start:" >&2
    cat "$work/qvsim.log" >&2
    exit 1
fi

# One run: its name=value lines in $1, what Qt says on standard error beside them.
run() {
    local out=$1
    shift
    QV_BENCH_T0=$(date +%s%N) "$@" >"$out" 2>"$out.err" || {
        echo "$* failed:" >&2
        cat "$out.err" >&2
        exit 1
    }
}
value() { sed -n "s/^$2=//p" "$1"; }
median() { sort -n | awk '{v[NR]=$1} END {if (NR) print v[int((NR+1)/2)]; else print 0}'; }

for i in $(seq 1 "$runs"); do
    run "$work/ref.$i" build/tests/bench/bench_reference_window
    run "$work/qv.$i" build/tests/bench/bench_window
    run "$work/plant.$i" build/tests/bench/bench_window "$address"
done
# The time alone, in many more pairs: each program ends once its window is visible.
for i in $(seq 1 "$time_runs"); do
    QV_BENCH_TIME_ONLY=1 run "$work/ref_time.$i" build/tests/bench/bench_reference_window
    QV_BENCH_TIME_ONLY=1 run "$work/qv_time.$i" build/tests/bench/bench_window
done

collect() { for i in $(seq 1 "${3:-$runs}"); do value "$work/$1.$i" "$2"; done | median; }
# The time ratio of each pair (the two programs start one after the other), then their median:
# a machine that drifts slower or faster during the runs moves both sides of a pair.
pair_ratio() {
    for i in $(seq 1 "$time_runs"); do
        awk -v q="$(value "$work/qv_time.$i" visible_ms)" \
            -v r="$(value "$work/ref_time.$i" visible_ms)" 'BEGIN { if (r > 0) print q / r }'
    done | median
}
ref_ms=$(collect ref_time visible_ms "$time_runs")
ref_kb=$(collect ref logon_rss_kb)
qv_ms=$(collect qv_time visible_ms "$time_runs")
qv_kb=$(collect qv logon_rss_kb)
plant_kb=$(collect plant visited_rss_kb)
time_ratio=$(pair_ratio)

awk -v rk="$ref_kb" -v rm="$ref_ms" -v qk="$qv_kb" -v qm="$qv_ms" -v pk="$plant_kb" \
    -v tr="$time_ratio" -v runs="$runs" -v truns="$time_runs" 'BEGIN {
    printf "medians of %d runs (time: %d pairs), %s\n", runs, truns, ENVIRON["QT_QPA_PLATFORM"]
    printf "%-44s %10s %10s %7s\n", "", "QVSetting", "reference", "ratio"
    printf "%-44s %7.1f MB %7.1f MB %7.2f\n", "resident memory, logon page", qk/1024, rk/1024, qk/rk
    printf "%-44s %7.1f MB %7.1f MB %7.2f\n", "resident memory, every page, full plant", pk/1024, rk/1024, pk/rk
    printf "%-44s %7.1f ms %7.1f ms %7.2f\n", "time to a visible window (ratio: of each pair)", qm, rm, tr
}'
