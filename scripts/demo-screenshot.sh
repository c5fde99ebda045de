#!/usr/bin/env bash
# Runs the installer on $DISPLAY (a private Xvfb: scripts/with-xvfb.sh), waits until its wizard
# window is on screen and settled (drive.exe wait-guide), saves a screenshot of the display as
# BUILD/demo-screenshot.png and closes the window. Exits with the installer's exit code.
# Usage: demo-screenshot.sh BUILD_DIR [INSTALLER_ARGS...]   (WINEPREFIX set by the caller)
set -euo pipefail
build="$(cd "$1" && pwd)"
shift
cd "$build"
echo "demo: no DISPLAY; running on private Xvfb $DISPLAY"

wine webinstaller.exe "$@" &
installer_pid=$!
trap 'kill "$installer_pid" 2>/dev/null || true' EXIT

if wine drive.exe wait-guide 60; then
    shot="$build/demo-screenshot.png"
    import -display "$DISPLAY" -window root "$shot" && echo "demo: screenshot saved to $shot"
else
    echo "demo: the wizard window was not shown within 60 s (a silent run never shows it)"
fi
wine drive.exe close-guide 10 || echo "demo: no installer window to close"
status=0
wait "$installer_pid" || status=$?
trap - EXIT
# The prefix's processes end while their display is still there.
wineserver -k 2>/dev/null || true
exit "$status"
