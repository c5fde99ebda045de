#!/usr/bin/env bash
# Creates the private Wine prefix given as $1 once; concurrent callers wait for the first.
set -euo pipefail
prefix="$1"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.nvx-ready" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver --wait || true
    if [ ! -f "$prefix/system.reg" ]; then
        echo "wine-prefix: could not create $prefix" >&2
        exit 1
    fi
    touch "$prefix/.nvx-ready"
fi
"$(dirname "${BASH_SOURCE[0]}")/wine-look.sh" "$prefix"
