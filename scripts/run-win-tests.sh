#!/usr/bin/env bash
# Runs the cross build's tests under Wine, on a private X display, in the build tree's
# private Wine prefix; ends that prefix's Wine processes afterwards.
set -euo pipefail
build="$(cd "$1" && pwd)"
shift
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$build/wineprefix"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf" # written by wine-look.sh
status=0
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    bash -c 'cd "$0" && ctest --output-on-failure "$@"' "$build" "$@" || status=$?
WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
exit $status
