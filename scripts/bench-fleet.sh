#!/usr/bin/env bash
# qvctl over a fleet: backs up 200 appliances of one qvsim (--fleet 200 --latency 50) with
# --parallel 32, and 16 of them with --parallel 1, scaled to 200, in the same run. Prints both
# times, the speed-up (the ideal is 32x) and qvctl's peak resident memory of the parallel run.
# A benchmark: it reports, it never fails on a slow machine. BUILD=DIR takes the programs from
# another build folder (default build/); FLEET, LATENCY, PARALLEL and SAMPLE change the figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${BUILD:-build}
fleet=${FLEET:-200}
latency=${LATENCY:-50}
parallel=${PARALLEL:-32}
sample=${SAMPLE:-16}

if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_BUILD_GUI=OFF >/dev/null
fi
cmake --build "$build" -j 2 --target qvctl qvsim >/dev/null

work=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$build/sim/qvsim" --fleet "$fleet" --latency "$latency" --port 0 --state-dir "$work/state" \
    >"$work/qvsim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 1 300); do
    [ "$(grep -c '^qvsim listening on' "$work/qvsim.log")" -ge "$fleet" ] && break
    sleep 0.1
done
sed -n 's/^qvsim listening on \([^ ]*\).*/\1/p' "$work/qvsim.log" |
    awk '{ printf "fleet-%03d %s\n", NR, $1 }' >"$work/all.txt"
if [ "$(wc -l <"$work/all.txt")" -lt "$fleet" ]; then
    echo "qvsim did not start its fleet:" >&2
    cat "$work/qvsim.log" >&2
    exit 1
fi
head -n "$sample" "$work/all.txt" >"$work/sample.txt"
export QVCTL_PASSWORD=admin

# Seconds of a backup of every appliance of $1 with --parallel $2 into a fresh folder; the peak
# resident memory in KB goes to $work/rss.
backup() {
    rm -rf "$work/backups" && mkdir "$work/backups"
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$build/cli/qvctl" --inventory "$1" --parallel "$2" \
        backup "$work/backups" >"$work/out.txt" 2>&1 || {
        echo "the backup failed:" >&2
        tail -n 5 "$work/out.txt" >&2
        exit 1
    }
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

fast=$(backup "$work/all.txt" "$parallel")
rss_kb=$(cat "$work/rss")
slow_sample=$(backup "$work/sample.txt" 1)
slow=$(echo "$slow_sample * $fleet / $sample" | bc -l)
printf 'backup of %d appliances (latency %d ms), --parallel %d: %.1f s\n' "$fleet" "$latency" \
    "$parallel" "$fast"
printf '%d of them with --parallel 1: %.1f s, scaled to %d: %.1f s\n' "$sample" "$slow_sample" \
    "$fleet" "$slow"
printf 'speed-up: %.1fx (ideal %dx); qvctl peak memory: %.1f MB\n' \
    "$(echo "$slow / $fast" | bc -l)" "$parallel" "$(echo "$rss_kb / 1024" | bc -l)"
