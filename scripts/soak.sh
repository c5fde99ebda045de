#!/usr/bin/env bash
# Runs the Windows test suite of a built tree (scripts/run-win-tests.sh) several times in a row
# and says how many runs passed; flaky tests show up as runs that fail now and then. With a
# load, both cores are kept busy meanwhile, as on a shared machine: "build" rebuilds a scratch
# copy of the native build over and over, "busy" spins one shell loop per core.
# Usage: soak.sh BUILD_DIR [RUNS] [LOAD]   (RUNS default 10; LOAD: none (default), busy, build)
# Each run's output goes to BUILD_DIR/soak/run-N.log; exit 0 only when every run passed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "$1" && pwd)"
runs="${2:-10}"
load="${3:-none}"
case "$load" in 1 | yes) load=busy ;; 0 | "") load=none ;; esac
logs="$build/soak"
mkdir -p "$logs"
rm -f "$logs"/run-*.log

load_pids=()
cleanup() {
    local pid
    for pid in "${load_pids[@]}"; do
        kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
    done
    for pid in "${load_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
}
# shellcheck source=scripts/exit-trap.sh
source "$root/scripts/exit-trap.sh"

# Each load in its own process group, ended as a whole when the soak ends.
set -m
case "$load" in
none) ;;
busy)
    for _ in $(seq "$(nproc)"); do
        bash -c 'while :; do :; done' &
        load_pids+=($!)
    done
    ;;
build)
    scratch="$(dirname "$build")/soak-load"
    bash -c 'while :; do
        cmake -S "$0" -B "$1" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc >/dev/null &&
        cmake --build "$1" -j 2 >/dev/null && cmake --build "$1" --target clean >/dev/null || sleep 5
    done' "$root" "$scratch" &
    load_pids+=($!)
    ;;
*)
    echo "soak: unknown load '$load' (none, busy or build)" >&2
    exit 2
    ;;
esac
set +m

passed=0
for run in $(seq "$runs"); do
    log="$logs/run-$run.log"
    start=$(date +%s)
    if bash "$root/scripts/run-win-tests.sh" "$build" >"$log" 2>&1; then
        result=passed
        passed=$((passed + 1))
    else
        result="FAILED: $(grep -E '^\[  FAILED  \]|\*\*\*Failed|\(Failed\)|\(Timeout\)' "$log" | sort -u | tr '\n' ' ')"
    fi
    echo "soak: run $run/$runs $result ($(($(date +%s) - start)) s, $log)"
done
echo "soak: $passed of $runs runs passed (load: $load)"
[ "$passed" -eq "$runs" ]
