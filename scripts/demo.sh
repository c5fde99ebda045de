#!/usr/bin/env bash
# Runs the built installer under Wine in the build tree's private prefix. With DISPLAY set
# it opens in a window on that display for a person to click through; without, it runs on a
# private Xvfb where a script installs the demo product through the wizard and saves a
# screenshot of every page in the build tree (scripts/demo-screenshot.sh). A local
# download server offers the demo product meanwhile. Says how the installer ended. On any
# exit, Ctrl-C included, the server, the prefix's Wine processes and the Xvfb are ended.
set -euo pipefail
build="$(cd "${1:-build/win64}" && pwd)"
shift || true
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf" # written by wine-look.sh

"$root/scripts/demo-content.sh" "$build"
# The build signed the installer as the test publisher; its CA is trusted in this prefix only.
[ ! -f "$build/test-signing/ca.pem" ] || "$root/scripts/test-signing.sh" "$build/test-signing" trust
# Each demo shows a first installation: a product left by an earlier demo goes first.
wine msiexec /x "{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}" /qn >/dev/null 2>&1 || true
# NVX_DPI runs the demo at another screen resolution (Wine's LogPixels).
if [ -n "${NVX_DPI:-}" ]; then
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$NVX_DPI" /f >/dev/null 2>&1
fi
# Wine's services started for that must not outlive it: they would keep this display (or none).
# Waited for, so that the installer does not start among processes that are still ending.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

server_pid=""
cleanup() {
    [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
}
# shellcheck source=scripts/exit-trap.sh
source "$root/scripts/exit-trap.sh"

# Slowed down to a pace at which the progress page can be watched.
python3 "$root/scripts/demo-server.py" "$build/demo-server" --port 8731 --seconds 900 --rate 30000 > "$build/demo-server.log" 2>&1 &
server_pid=$!
echo "demo: download server on http://127.0.0.1:8731/ (log: $build/demo-server.log)"

status=0
if [ -z "${DISPLAY:-}" ]; then
    "$root/scripts/with-xvfb.sh" "$root/scripts/demo-screenshot.sh" "$build" "$@" || status=$?
else
    (cd "$build" && wine webinstaller.exe "$@") || status=$?
fi
echo "demo: the installer ended with exit code $status"
