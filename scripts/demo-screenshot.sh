#!/usr/bin/env bash
# Runs the installer on $DISPLAY (a private Xvfb: scripts/with-xvfb.sh) and drives it the way a
# person would: the settings page, Install, the progress page with its slideshow, the finish
# page and Start Now. A screenshot of each page goes to BUILD/demo/ (settings.png, progress.png,
# finish.png, product.png: the started product). Exits with the installer's exit code.
# Usage: demo-screenshot.sh BUILD_DIR [INSTALLER_ARGS...]   (WINEPREFIX set by the caller)
set -euo pipefail
build="$(cd "$1" && pwd)"
shift
cd "$build"
# NVX_SHOTS and NVX_SHOT_SUFFIX choose where the pictures go and what their names end with.
shots="${NVX_SHOTS:-$build/demo}"
suffix="${NVX_SHOT_SUFFIX:-}"
mkdir -p "$shots"
echo "demo: no DISPLAY; running on private Xvfb $DISPLAY, screenshots in $shots"
shoot() {
    import -display "$DISPLAY" -window root "$shots/$1$suffix.png" && echo "demo: $1 page: $shots/$1$suffix.png"
}
# Each page is checked by page_probe.exe as it shows, which records its controls in
# <shots>/pages/<page><suffix>.txt. With NVX_PAGE_REFERENCE (the suffix of an earlier run's
# records, the one at 96 DPI) the controls must be where that record puts them, scaled, and
# painted; what is not goes to <shots>/pages/faults<suffix>.txt.
records="$shots/pages"
mkdir -p "$records"
rm -f "$records/faults$suffix.txt"
reference="${NVX_PAGE_REFERENCE:-}"
# Started before the page is due, so that it sees the page the moment it shows.
start_probe() { # PAGE CONTROL_ID TIMEOUT_SECONDS
    local args=("$2" "$3" "Z:$records/$1$suffix.txt")
    [ -z "$reference" ] || args+=("Z:$records/$1$reference.txt")
    wine page_probe.exe "${args[@]}" >>"$records/faults$suffix.txt" &
    probe_pid=$!
}
# Answers whether the page was shown; a page found faulty counts as shown.
page_shown() {
    local status=0
    wait "$probe_pid" || status=$?
    [ "$status" -ne 1 ]
}

status=0
# Waits for the installer to end and keeps its exit code.
installer_ended() {
    [ -n "$installer_pid" ] || return 0
    wait "$installer_pid" || status=$?
    installer_pid=""
}

# Control ids of the pages: Install 133, status text 122, time text 173, Start Now 1.
start_probe settings 133 60
wine webinstaller.exe "$@" &
installer_pid=$!
trap 'kill ${installer_pid:-} ${probe_pid:-} 2>/dev/null || true' EXIT

if page_shown; then
    shoot settings
    start_probe progress 122 30
    wine drive.exe click 133 10
    if page_shown; then
        # The start timer has run and the downloads have made a time estimate.
        if ! wine drive.exe wait-text 122 Downloading 60 || ! wine drive.exe wait-text 173 "secs remaining" 60; then
            echo "demo: the progress page showed no download estimate"
        fi
        shoot progress
    fi
    start_probe finish 1 300
    if page_shown; then
        shoot finish
        wine drive.exe click 1 10
        # The wizard closes and the product it started opens its window.
        installer_ended
        wine drive.exe wait-window LumetraDemoWindow 30 || echo "demo: the product's window was not shown"
        shoot product
    else
        echo "demo: the finish page was not shown"
        wine drive.exe close-guide 10 || true
    fi
else
    echo "demo: the wizard's settings page was not shown within 60 s (a silent run never shows it)"
    shoot missing
    wine drive.exe close-guide 10 || true
fi
installer_ended
trap - EXIT
# The prefix's processes (the started product too) end while their display is still there:
# -k only asks them to; -w waits until they and the server are gone, before the display goes.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exit "$status"
