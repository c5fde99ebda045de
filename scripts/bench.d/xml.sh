#!/usr/bin/env bash
# Benchmark of the XML reader (load + full walk) against pugixml on generated documents of
# 1, 10 and 100 MB, element-heavy and text-heavy. Native, optimised build of its own.
# Usage: xml.sh BUILD_ROOT [extra Google Benchmark arguments]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(mkdir -p "$1" && cd "$1" && pwd)/bench-xml"
shift
cmake -S "$root/bench/xml" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target xml_bench >/dev/null
NVX_BENCH_DATA="$build/data" "$build/xml_bench" --benchmark_counters_tabular=true "$@"
