#!/usr/bin/env bash
# Runs the test scripts in scripts/test.d (fuzzing and other checks outside ctest) with the
# build root as argument; fails when any of them fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
shopt -s nullglob
for check in "$root"/scripts/test.d/*.sh; do
    echo "== $(basename "$check")"
    bash "$check" "$build"
done
