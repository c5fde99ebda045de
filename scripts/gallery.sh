#!/usr/bin/env bash
# Screenshots of the control gallery at 96, 120, 144 and 192 DPI, under Wine on a private X
# display, into <build>/gallery/gallery-<dpi>.png. The DPI is Wine's LogPixels in a private
# prefix of the gallery's own (the tests' prefix keeps 96 DPI). DPIS="96 192" takes only those.
set -euo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$build/gallery"
export WINEPREFIX="$build/gallery-prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf"
mkdir -p "$out"
for dpi in ${DPIS:-96 120 144 192}; do rm -f "$out/gallery-$dpi.png"; done

# One display for all four runs; the script below runs on it.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 2400x2200x24 -nolisten tcp" bash -c '
set -euo pipefail
build="$1" out="$2"
windows_path() { local p="$1"; echo "Z:${p//\//\\}"; }
for dpi in $3; do
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    # A new DPI is read when Wine starts its processes.
    wineserver -k 2>/dev/null || true
    wineserver --wait 2>/dev/null || true
    ready="$out/ready-$dpi" quit="$out/quit-$dpi"
    rm -f "$ready" "$quit"
    wine "$build/gallery.exe" /ready "$(windows_path "$ready")" /quit "$(windows_path "$quit")" &
    pid=$!
    for _ in $(seq 1 600); do
        [ -f "$ready" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -f "$ready" ]; then
        echo "gallery: no window at $dpi DPI" >&2
        touch "$quit"
        wait "$pid" || true
        exit 1
    fi
    read -r x y w h <"$ready"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/gallery-$dpi.png"
    touch "$quit"
    wait "$pid" || true
    rm -f "$ready" "$quit"
    echo "gallery: $out/gallery-$dpi.png (${w}x${h})"
done
wineserver -k 2>/dev/null || true
' gallery "$build" "$out" "${DPIS:-96 120 144 192}"
