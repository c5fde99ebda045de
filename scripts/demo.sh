#!/usr/bin/env bash
# Runs the built installer under Wine in the build tree's private prefix. With DISPLAY set
# it opens in a window on that display; without, it runs on a private Xvfb, a screenshot is
# saved in the build tree and the window is closed. A local download server offers the demo
# product meanwhile. Says how the installer ended.
set -euo pipefail
build="$(cd "${1:-build/win64}" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf" # written by wine-look.sh

"$root/scripts/demo-content.sh" "$build"
python3 "$root/scripts/demo-server.py" "$build/demo-server" --port 8731 --seconds 900 > "$build/demo-server.log" 2>&1 &
server_pid=$!
echo "demo: download server on http://127.0.0.1:8731/ (log: $build/demo-server.log)"

cleanup() {
    kill "$server_pid" 2>/dev/null || true
    WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
    done
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY="$display"
    sleep 1
    echo "demo: no DISPLAY; running on private Xvfb $display"
    (cd "$build" && wine webinstaller.exe "$@") &
    installer_pid=$!
    sleep "${DEMO_SETTLE_SECONDS:-6}"
    shot="$build/demo-screenshot.png"
    import -display "$display" -window root "$shot" && echo "demo: screenshot saved to $shot"
    (cd "$build" && wine drive.exe close-guide 5) || echo "demo: no installer window to close"
    status=0
    wait "$installer_pid" || status=$?
else
    status=0
    (cd "$build" && wine webinstaller.exe "$@") || status=$?
fi
echo "demo: the installer ended with exit code $status"
