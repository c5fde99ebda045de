#!/usr/bin/env bash
# Runs every benchmark script in scripts/bench.d with the build root as argument.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
shopt -s nullglob
for bench in "$root"/scripts/bench.d/*.sh; do
    echo "== $(basename "$bench")"
    bash "$bench" "$build"
done
