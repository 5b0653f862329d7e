#!/usr/bin/env bash
# Builds QVSetting, qvsim and qvctl, starts the simulator on a free loopback port and opens the
# window with the simulator's address in the address box (log on with admin / admin). Without a
# display it says so, shows what the simulator serves through qvctl instead, and leaves nothing
# running.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target qvsim qvctl QVSetting

state="$root/build/qvsim-state"
log=$(mktemp)
sim_pid=
cleanup() {
    [[ -n "$sim_pid" ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -f "$log"
}
trap cleanup EXIT INT TERM

build/sim/qvsim --bind 127.0.0.1 --port 0 --state "$state" >"$log" 2>&1 &
sim_pid=$!
port=
for _ in $(seq 100); do
    port=$(grep -o -m1 'listening on [0-9.]*:[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    [[ -n "$port" ]] && break
    kill -0 "$sim_pid" 2>/dev/null || { cat "$log"; exit 1; }
    sleep 0.1
done
[[ -n "$port" ]] || { echo "qvsim did not start:"; cat "$log"; exit 1; }
address="127.0.0.1:$port"
echo "qvsim is serving on $address (administrator ID admin, password admin)."

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window"
    echo "cannot open. What the simulator serves, read with qvctl:"
    QVCTL_PASSWORD=admin build/cli/qvctl --server "$address" --user admin summary
    exit 0
fi

build/app/QVSetting "-$address"
