#!/usr/bin/env bash
# Wizard benchmark under Wine, against the demo server on loopback (no pacing):
# - the whole silent installation ("/s") through the installer against the same work done bare:
#   curl of the files the installer fetched (from the server's log) plus the installers run
#   directly (msiexec /i ... /qn for packages, the programs for the rest); the installer's time
#   beyond its fixed waits (version check 200 ms, start timer 3 s, up to 1 s to the next
#   refresh) is its overhead;
# - the UI thread's longest stall while the installation runs (SendMessageTimeout every 10 ms,
#   from the window's first answer on: that first one waits for its set-up and is shown apart)
#   against the same probe of a minimal idle window over the same time (goal <= 2x);
# - the CPU the progress page uses while it waits (slideshow only, before the installation).
# Usage: wizard.sh BUILD_ROOT (the cross build in BUILD_ROOT/win64 must be built)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "$1" && pwd)/win64"
state="$build/wizard-bench"
rm -rf "$state"
mkdir -p "$state"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf"
"$root/scripts/demo-content.sh" "$build" >/dev/null
product="{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}"
server_pid=""
cleanup() {
    [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

cat >"$state/run.sh" <<'INNER'
set -euo pipefail
cd "$1"
state="$1/wizard-bench"
product="$2"
now() { date +%s.%N; }
wineserver -p
wine msiexec /x "$product" /qn >/dev/null 2>&1 || true
# Installer, silent, with the stall probe on its (hidden) wizard.
start=$(now)
wine webinstaller.exe /s &
installer=$!
wine wizard_probe.exe stall NVXMasterInstallerClassName 30 >"$state/stall-installer" 2>/dev/null &
probe=$!
wait "$installer" || echo "installer exit code $?" >>"$state/errors"
end=$(now)
wait "$probe" || true
echo "installer_s $(echo "$end - $start" | bc)" >"$state/times"
probe_seconds=$(echo "$end - $start" | bc)
# The peer: a minimal idle window probed the same way for the same time.
wine wizard_probe.exe idle "$(echo "$probe_seconds + 3" | bc)" &
idle=$!
wine wizard_probe.exe stall "#32770" "$probe_seconds" >"$state/stall-idle" 2>/dev/null || true
wait "$idle" || true
# Bare: the same files fetched with curl, the installers run directly.
wine msiexec /x "$product" /qn >/dev/null 2>&1 || true
mkdir -p "$state/bare"
start=$(now)
for path in $(cat "$state/fetched"); do
    curl -sf -o "$state/bare/$(basename "$path")" "http://127.0.0.1:8731$path"
done
for file in "$state"/bare/*; do
    case "$file" in
    *.msi) wine msiexec /i "Z:${file//\//\\}" /qn >/dev/null 2>&1 || true ;;
    *.exe) wine "$file" >/dev/null 2>&1 || true ;;
    esac
done
end=$(now)
echo "bare_s $(echo "$end - $start" | bc)" >>"$state/times"
# CPU of the progress page while it waits: an installed product opens on it; the start timer
# gives three seconds of slideshow alone.
# Read from the host's process table: Wine does not report another process's times.
wine webinstaller.exe /n &
wine wizard_probe.exe stall NVXMasterInstallerClassName 0.1 >/dev/null 2>&1 || true
pid=$(pgrep -f 'webinstaller.exe /n' | head -1)
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
sleep 1.0 # past the start-up (the version check, the pictures decoded, the first paints)
before=$(ticks)
sleep 1.6 # and before the start timer fires
after=$(ticks)
echo "cpu_ms_per_s $(echo "($after - $before) * 1000 / $(getconf CLK_TCK) / 1.6" | bc)" >"$state/cpu"
wineserver -k 2>/dev/null || true
INNER

python3 "$root/scripts/demo-server.py" "$build/demo-server" --port 8731 --seconds 600 >"$state/server.log" 2>&1 &
server_pid=$!
# The files the installer fetched are read from the server's log while the run goes on.
(
    sleep 1
    while kill -0 "$server_pid" 2>/dev/null; do
        grep -ao '"GET [^ ]*' "$state/server.log" | sed 's/"GET //' | grep -v '^/version.xml$' | sort -u >"$state/fetched" || true
        sleep 0.5
        [ -f "$state/stall-idle" ] && break
    done
) &
watcher=$!
XVFB_SCREEN=1280x1024x24 "$root/scripts/with-xvfb.sh" bash "$state/run.sh" "$build" "$product" >/dev/null 2>&1 || true
kill "$watcher" 2>/dev/null || true

get() { tr -d '\r' <"$2" | sed -n "s/^$1 //p" | head -1; }
installer_s=$(get installer_s "$state/times")
bare_s=$(get bare_s "$state/times")
waits_s=4.2
[ ! -f "$state/errors" ] || cat "$state/errors"
echo "wizard: silent installation $installer_s s; bare (curl + direct installers) $bare_s s"
echo "wizard: files fetched: $(tr '\n' ' ' <"$state/fetched")"
echo "wizard: overhead beyond the fixed waits (up to $waits_s s): $(echo "$installer_s - $bare_s - $waits_s" | bc) s"
stall=$(get stall_max_ms "$state/stall-installer")
idle=$(get stall_max_ms "$state/stall-idle")
echo "wizard: UI stall max $stall ms ($(get stall_max_at_ms "$state/stall-installer") ms after the wizard appeared, whose first answer took $(get first_answer_ms "$state/stall-installer") ms; p99 $(get stall_p99_ms "$state/stall-installer") ms, $(get probes "$state/stall-installer") probes); idle peer max $idle ms (p99 $(get stall_p99_ms "$state/stall-idle") ms); ratio $(echo "scale=2; $stall / $idle" | bc) (goal <= 2)"
echo "wizard: progress page CPU while waiting (slideshow repainting every 33 ms): $(get cpu_ms_per_s "$state/cpu") ms per second"
