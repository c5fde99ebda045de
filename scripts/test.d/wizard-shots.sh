#!/usr/bin/env bash
# The whole demo installation through the wizard at 96, 120, 144 and 192 DPI, with screenshots
# of the settings, progress and finish pages and of the started product in
# <build>/win64/wizard-shots/<page>-<dpi>.png. Fails when a run does not end with exit code 0
# or a page was not shown. The prefix is put back to 96 DPI afterwards.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "${1:-build}" && pwd)/win64"
shots="$build/wizard-shots"
rm -rf "$shots"
mkdir -p "$shots"
restore() {
    WINEPREFIX="$build/wineprefix" WINEDEBUG=-all wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels \
        /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
}
trap restore EXIT
status=0
for dpi in 96 120 144 192; do
    # A screen with room for the window at 200 %.
    out="$(env -u DISPLAY XVFB_SCREEN=1600x1200x24 NVX_DPI=$dpi NVX_SHOTS="$shots" NVX_SHOT_SUFFIX="-$dpi" bash "$root/scripts/demo.sh" "$build" 2>&1)" \
        || { echo "$out"; echo "wizard-shots: the run at $dpi DPI failed"; status=1; continue; }
    for page in settings progress finish product; do
        if [ ! -s "$shots/$page-$dpi.png" ]; then
            echo "$out"
            echo "wizard-shots: no $page page at $dpi DPI"
            status=1
        fi
    done
done
[ "$status" -ne 0 ] || echo "wizard-shots: every page at every DPI in $shots"
exit "$status"
