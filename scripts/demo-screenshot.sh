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

wine webinstaller.exe "$@" &
installer_pid=$!
trap 'kill "$installer_pid" 2>/dev/null || true' EXIT

# Control ids of the pages: Install 133, status text 122, Start Now 1.
if wine drive.exe wait-control 133 60; then
    shoot settings
    wine drive.exe click 133 10
    if wine drive.exe wait-control 122 30; then
        sleep 7 # the start timer and a few refreshes of the downloads
        shoot progress
    fi
    if wine drive.exe wait-control 1 300; then
        sleep 1
        shoot finish
        wine drive.exe click 1 10
        sleep 4 # the product's own window
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
status=0
wait "$installer_pid" || status=$?
trap - EXIT
# The prefix's processes (the started product too) end while their display is still there.
wineserver -k 2>/dev/null || true
exit "$status"
