#!/usr/bin/env bash
# Runs the cross build's tests under Wine, on a private X display (scripts/with-xvfb.sh), in the
# build tree's private Wine prefix. On any exit, Ctrl-C included, it ends that prefix's Wine
# processes and the test servers the tests started; the display goes with with-xvfb.sh.
# Usage: run-win-tests.sh BUILD_DIR [CTEST_ARGS...]
set -euo pipefail
build="$(cd "$1" && pwd)"
shift
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$build/wineprefix"

cleanup() {
    # The servers stop by themselves after a while; an interrupted run stops them now.
    if [ -f "$build/net-servers/pids" ]; then
        python3 "$root/tests/net/servers/netservers.py" stop "$build/net-servers" >/dev/null 2>&1 || true
    fi
    wineserver -k 2>/dev/null || true
}
# shellcheck source=scripts/exit-trap.sh
source "$root/scripts/exit-trap.sh"

"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf" # written by wine-look.sh
# The prefix's processes end while their display is still there (else they complain of a
# broken X connection); the trap above does it again for an interrupted run.
# shellcheck disable=SC2016
"$root/scripts/with-xvfb.sh" bash -c 'cd "$0" || exit 1
    ctest --output-on-failure "$@"
    status=$?
    wineserver -k 2>/dev/null
    exit $status' "$build" "$@"
