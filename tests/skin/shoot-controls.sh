#!/usr/bin/env bash
# Screenshots of the skinned progress bar, slideshow, combo boxes and edit fields at 96 and 192
# DPI, in a Wine prefix of their own (LogPixels differs from the test prefix), on a private X
# display. Usage: tests/skin/shoot-controls.sh <cross build folder>; the pictures go to
# <build>/screenshots/skin-controls-<dpi>.png.
set -euo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEPREFIX="$build/shots-wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
out="$build/screenshots"
mkdir -p "$out"
exchange="$(mktemp -d)"
trap 'rm -rf "$exchange"; wineserver -k 2>/dev/null || true' EXIT

for dpi in ${NVX_SHOT_DPIS:-96 192}; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    # A 29-pixel caption painted by the program shows whole only without the window manager's frame.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    rm -f "$exchange/ready" "$exchange/done"
    xvfb-run -a -s "-screen 0 1400x1200x24 -nolisten tcp" bash -c '
        wine "$0/skin_controls_show.exe" "$(winepath -w "$1")" &
        program=$!
        for _ in $(seq 600); do [ -f "$1/ready" ] && break; sleep 0.1; done
        import -window root -crop "$((640 * $3 / 96))x$((560 * $3 / 96))+0+0" +repage "$2"
        touch "$1/done"
        wait $program' "$build/tests/skin" "$exchange" "$out/skin-controls-$dpi.png" "$dpi"
    echo "$out/skin-controls-$dpi.png"
done
