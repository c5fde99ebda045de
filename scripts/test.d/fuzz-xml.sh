#!/usr/bin/env bash
# Builds the XML reader's fuzz target natively with clang and libFuzzer and runs it for a bounded
# time on a corpus seeded from the reader's test fixtures. Fails when the fuzzer finds anything.
# Usage: fuzz-xml.sh BUILD_ROOT [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(mkdir -p "$1" && cd "$1" && pwd)/fuzz-xml"
seconds="${2:-${NVX_FUZZ_SECONDS:-60}}"

# The clang whose runtime (libFuzzer, sanitizers) scripts/setup.sh installs, by its versioned name.
compiler=clang++-14
# A tree configured with another compiler is configured afresh.
if [ -f "$build/CMakeCache.txt" ] &&
    ! grep -qE "^CMAKE_CXX_COMPILER:[A-Z]*=(.*/)?${compiler//+/\\+}\$" "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE= >/dev/null
cmake --build "$build" --target xml_fuzz

corpus="$build/corpus"
mkdir -p "$corpus" "$build/artifacts" "$build/tmp"
# Each run writes its input to a file to read it back; memory-backed when the machine has it.
scratch="$build/tmp"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch="$(mktemp -d /dev/shm/nvx-fuzz-xml.XXXXXX)"
    trap 'rm -rf "$scratch"' EXIT
fi
find "$root/tests/data/xml" -type f ! -name '*.py' -exec cp {} "$corpus/" \;

NVX_FUZZ_TMP="$scratch" "$build/xml_fuzz" "$corpus" -dict="$root/tests/fuzz/xml.dict" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
    -artifact_prefix="$build/artifacts/" -print_final_stats=1 2>"$build/fuzz.log" || {
    tail -n 60 "$build/fuzz.log"
    echo "fuzz-xml: the fuzzer found a fault (artifacts in $build/artifacts)"
    exit 1
}
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$build/fuzz.log" || true
echo "fuzz-xml: no faults in ${seconds}s"
