#!/usr/bin/env bash
# Runs the GoogleTest cases that match FILTER (GoogleTest's --gtest_filter syntax) in every test
# program of both builds: the native core_tests, and the cross build's core_tests and win_tests
# under Wine. Builds those programs first. The Windows ones run as ctest runs them (the build
# tree's private prefix, its environment, the loopback test servers) on a private display; the
# servers, the prefix's Wine processes and the display are stopped at the end, Ctrl-C included.
# A program without a matching case is skipped; no match in any program is a failure. The filter
# is the user's alone: cases ctest leaves to runs of their own (GalleryRepaint) run when named.
# Usage: run-test.sh FILTER   (BUILD=build, JOBS=1: build folder and parallel build jobs)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -ne 1 ] || [ -z "$1" ]; then
    echo "usage: run-test.sh FILTER" >&2
    exit 2
fi
filter="$1"
build="$root/${BUILD:-build}"
[[ "${BUILD:-build}" = /* ]] && build="$BUILD"
win="$build/win64"
native="$build/native"

# Names of the matching cases of a test program run by "$@" (one "Suite.Case" a line).
matching_cases() {
    "$@" --gtest_list_tests --gtest_filter="$filter" | tr -d '\r' | awk '
        /^[^ ]/ { suite = $1 }
        /^  [^ ]/ { print suite $1 }'
}

# Inside the private display (the outer run below starts this): the Windows programs.
if [ "${NVX_RUN_TEST_STAGE:-}" = windows ]; then
    cd "$win/tests" # where ctest runs them
    status=0
    ran=0
    for program in core_tests win_tests; do
        cases="$(matching_cases "$root/scripts/wine-run.sh" "$win/tests/$program.exe")" || {
            echo "run-test: $program.exe could not list its cases" >&2
            exit 1
        }
        [ -n "$cases" ] || continue
        ran=1
        if [ "$program" = win_tests ]; then
            python3 "$root/tests/net/servers/netservers.py" start "$win/net-servers" --lifetime 3600 >/dev/null
        fi
        echo "== $program (Wine): $(echo "$cases" | wc -l) case(s)"
        "$root/scripts/wine-run.sh" "$win/tests/$program.exe" --gtest_filter="$filter" || status=1
    done
    wineserver -k 2>/dev/null || true # while the display is still there
    [ "$ran" = 1 ] || exit 3
    exit "$status"
fi

export WINEPREFIX="$win/wineprefix"
export NVX_BUILD_DIR="$win" NVX_SOURCE_DIR="$root"
jobs="${JOBS:-1}"
# shellcheck disable=SC2317 # called from the exit trap
cleanup() {
    # The servers stop by themselves after a while; an interrupted run stops them now.
    if [ -f "$win/net-servers/pids" ]; then
        python3 "$root/tests/net/servers/netservers.py" stop "$win/net-servers" >/dev/null 2>&1 || true
    fi
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
}
# shellcheck source=scripts/exit-trap.sh
source "$root/scripts/exit-trap.sh"

[ -f "$native/build.ninja" ] || cmake -S "$root" -B "$native" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc
[ -f "$win/build.ninja" ] || cmake -S "$root" -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
cmake --build "$native" -j "$jobs" --target core_tests
cmake --build "$win" -j "$jobs" --target core_tests win_tests

status=0
ran=0
cases="$(matching_cases "$native/tests/core_tests")"
if [ -n "$cases" ]; then
    ran=1
    echo "== core_tests (native): $(echo "$cases" | wc -l) case(s)"
    "$native/tests/core_tests" --gtest_filter="$filter" || status=1
fi

"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf" # written by wine-look.sh
windows_status=0
NVX_RUN_TEST_STAGE=windows "$root/scripts/with-xvfb.sh" "$0" "$filter" || windows_status=$?
case "$windows_status" in
0) ran=1 ;;
3) ;; # nothing matched there
*) ran=1; status=1 ;;
esac

if [ "$ran" = 0 ]; then
    echo "run-test: no test matches '$filter' in any test program" >&2
    exit 1
fi
exit "$status"
