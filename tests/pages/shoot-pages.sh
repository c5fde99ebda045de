#!/usr/bin/env bash
# Screenshots of the progress and finish pages at 96, 120, 144 and 192 DPI, in a Wine prefix of
# their own (LogPixels differs from the test prefix), on a private X display, with the demo's
# tour pictures as slides. Usage: tests/pages/shoot-pages.sh <cross build folder>; the pictures
# go to <build>/pages/<status|finish>-<dpi>.png.
set -euo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEPREFIX="$build/shots-wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf"
out="$build/pages"
mkdir -p "$out"
exchange="$(mktemp -d)"
trap 'rm -rf "$exchange"; wineserver -k 2>/dev/null || true' EXIT
python3 "$root/scripts/demo-slides.py" "$exchange/language" >/dev/null

for dpi in ${NVX_SHOT_DPIS:-96 120 144 192}; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    # A new DPI is read when Wine starts its processes.
    wineserver -w
    for page in status finish; do
        rm -f "$exchange/ready" "$exchange/done"
        shot="$out/$page-$dpi.png"
        # shellcheck disable=SC2016
        xvfb-run -a -s "-screen 0 1600x1100x24 -nolisten tcp" bash -c '
            wine "$0/pages_show.exe" "$1" "$(winepath -w "$2/language")" "$(winepath -w "$2")" &
            program=$!
            for _ in $(seq 600); do [ -f "$2/ready" ] && break; sleep 0.1; done
            import -window root -crop "$((660 * $4 / 96))x$((446 * $4 / 96))+0+0" +repage "$3"
            touch "$2/done"
            wait $program' "$build/tests/pages" "$page" "$exchange" "$shot" "$dpi"
        echo "$shot"
    done
done
