#!/usr/bin/env bash
# The whole demo installation through the wizard at 96, 120, 144 and 192 DPI, with screenshots
# of the settings, progress and finish pages and of the started product in
# <build>/win64/wizard-shots/<page>-<dpi>.png. Fails when a run does not end with exit code 0
# or a page was not shown, and when a page was not whole the moment it showed: each of its
# visible controls painted and, at the higher DPIs, every control shown at 96 DPI shown in its
# place scaled (page_probe.exe, records in wizard-shots/pages). The 96 DPI run goes first: it
# is the reference. The prefix is put back to 96 DPI afterwards.
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
# The X server's log of a run whose pages are missing or faulty (a failed run's output has it).
print_server_log() {
    echo "wizard-shots: log of the X server of the run at $1 DPI:"
    cat "$shots/xvfb-$1.log" 2>/dev/null || echo "(none)"
}
for dpi in 96 120 144 192; do
    reference=""
    [ "$dpi" -eq 96 ] || reference="-96"
    for attempt in 1 2; do
        rm -f "$shots"/*-"$dpi".png
        # A screen with room for the window at 200 %.
        run_status=0
        out="$(env -u DISPLAY XVFB_SCREEN=1600x1200x24 XVFB_LOG="$shots/xvfb-$dpi.log" NVX_DPI=$dpi \
            NVX_SHOTS="$shots" NVX_SHOT_SUFFIX="-$dpi" NVX_PAGE_REFERENCE="$reference" \
            bash "$root/scripts/demo.sh" "$build" 2>&1)" || run_status=$?
        # Now and then a Wine process lost its connection to the private X server (the server
        # lived on, its log said nothing). Wine processes that were still ending when the next
        # run started are the likely cause (demo.sh and demo-screenshot.sh now wait for them);
        # should it happen again, that run says nothing about the wizard: it is shown, with
        # the server's log, and run once more.
        if [ "$attempt" -eq 1 ] && grep -q "X connection to .* broken" <<<"$out"; then
            echo "$out"
            print_server_log "$dpi"
            echo "wizard-shots: a Wine process lost its X connection at $dpi DPI; running it once more"
            continue
        fi
        break
    done
    [ "$run_status" -eq 0 ] || { echo "$out"; echo "wizard-shots: the run at $dpi DPI failed"; status=1; continue; }
    missing=0
    for page in settings progress finish product; do
        if [ ! -s "$shots/$page-$dpi.png" ]; then
            echo "wizard-shots: no $page page at $dpi DPI"
            missing=1
        fi
    done
    if [ "$missing" -ne 0 ]; then
        echo "$out"
        print_server_log "$dpi"
        status=1
    fi
    if [ -s "$shots/pages/faults-$dpi.txt" ]; then
        cat "$shots/pages/faults-$dpi.txt"
        echo "wizard-shots: pages not whole when shown at $dpi DPI"
        print_server_log "$dpi"
        status=1
    fi
done
[ "$status" -ne 0 ] || echo "wizard-shots: every page at every DPI in $shots"
exit "$status"
