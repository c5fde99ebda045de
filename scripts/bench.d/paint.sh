#!/usr/bin/env bash
# Paint benchmark under Wine on a private X display, at 96 and 192 DPI (Wine's LogPixels, in the
# gallery's prefix): a full repaint of the control gallery against the same layout drawn by the
# system's own controls (goal: skinned <= 1.5x), the skinned repaint by kind of control, and the
# CPU a slideshow uses while a picture stands and while it slides.
# Usage: paint.sh BUILD_ROOT [REPAINTS] (the cross build in BUILD_ROOT/win64 must be built)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "$1" && pwd)/win64"
repaints="${2:-20}"
out="$build/paint-bench"
mkdir -p "$out"
export WINEPREFIX="$build/gallery-prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf"

# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 2400x2200x24 -nolisten tcp" bash -c '
set -euo pipefail
build="$1" out="$2" repaints="$3"
for dpi in 96 192; do
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver --wait 2>/dev/null || true
    # The prefix'"'"'s services start with the first program: let them settle before measuring.
    wine cmd /c exit >/dev/null 2>&1 || true
    sleep 3
    rm -f "$out/paint-$dpi.txt"
    wine "$build/paint_bench.exe" /out "Z:${out//\//\\}\\paint-$dpi.txt" /repaints "$repaints" || echo "paint_bench failed at $dpi DPI" >&2
done
wineserver -k 2>/dev/null || true
' paint "$build" "$out" "$repaints"

value() { tr -d '\r' <"$2" | awk -v k="$1" '$1 == k { print $2 }'; }
for dpi in 96 192; do
    file="$out/paint-$dpi.txt"
    [ -s "$file" ] || { echo "paint: no results at $dpi DPI"; continue; }
    skinned=$(value skinned_wall_ms "$file")
    system=$(value system_wall_ms "$file")
    printf 'paint %s DPI: full repaint skinned %.2f ms (CPU %.2f), system controls %.2f ms (CPU %.2f), ratio %.2fx (goal <= 1.5x)\n' \
        "$dpi" "$skinned" "$(value skinned_cpu_ms "$file")" "$system" "$(value system_cpu_ms "$file")" \
        "$(echo "$skinned / $system" | bc -l)"
    printf '  by kind (ms, all of that kind once):'
    for kind in text_buttons picture_buttons labels progress_bars slideshows combo_boxes edits frames; do
        printf ' %s %.2f' "$kind" "$(value "${kind}_wall_ms" "$file")"
    done
    printf '\n  slideshow CPU: %.1f ms/s standing, %.1f ms/s sliding\n' \
        "$(value slideshow_standing_cpu_ms_per_s "$file")" "$(value slideshow_sliding_cpu_ms_per_s "$file")"
done
