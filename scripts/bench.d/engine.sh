#!/usr/bin/env bash
# Engine benchmark under Wine: the product package installed through the engine (standalone, no
# download) against a bare "msiexec /i ... /qn" of the same package, each followed by an
# uninstall; and the UI thread's time in StartInstall against the registry reads it needs.
# Usage: engine.sh BUILD_ROOT (the cross build in BUILD_ROOT/win64 must be built)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "$1" && pwd)"
win="$build/win64"
bench_exe="$win/tests/engine_bench.exe"
[ -x "$bench_exe" ] || { echo "engine.sh: $bench_exe is missing; build $win first" >&2; exit 1; }

export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
# A persistent wineserver, so that neither its start nor its end is timed.
wineserver -p
state="$build/engine-bench"
mkdir -p "$state"
fixtures="Z:${win//\//\\}\\tests\\engine-fixtures"
get() { tr -d "\r" <"$2" | sed -n "s/^$1 //p" | head -1; }

xvfb-run -a wine "$bench_exe" install "$fixtures" 7 >"$state/install" 2>/dev/null
xvfb-run -a wine "$bench_exe" plan 300 >"$state/plan" 2>/dev/null
if grep -q '^error' "$state/install"; then
    echo "engine.sh: an installation failed" >&2
    cat "$state/install" >&2
    exit 1
fi

echo "engine: installation of the test product (median of $(get rounds "$state/install") rounds, seconds)"
printf '  through the engine (in-process, standalone)  %s\n' "$(get engine_install_seconds "$state/install")"
printf '  msiexec /i ... /qn                           %s\n' "$(get msiexec_install_seconds "$state/install")"
printf '  ratio engine/msiexec: %s (goal <= 1.05)\n' "$(get install_ratio "$state/install")"
echo "engine: UI thread in StartInstall with all three detectors (median of $(get rounds "$state/plan"), microseconds)"
printf '  StartInstall                                 %s\n' "$(get start_install_us "$state/plan")"
printf '    of which the plan                          %s\n' "$(get build_plan_us "$state/plan")"
printf '  the detectors'"'"' reads done bare               %s\n' "$(get bare_reads_us "$state/plan")"
printf '    with the size query before each text       %s\n' "$(get bare_reads_sized_us "$state/plan")"
printf '  starting an empty worker thread              %s\n' "$(get worker_start_us "$state/plan")"
printf '  ratio StartInstall/bare reads: %s, plan/bare reads: %s (goal <= 1.2)\n' \
    "$(get start_ratio "$state/plan")" "$(get plan_ratio "$state/plan")"
