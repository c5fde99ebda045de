#!/usr/bin/env bash
# Download benchmark: one 256 MiB file from nginx on 127.0.0.1 through RunDownloadJob under Wine
# and, in the same run, with curl: unshaped, and with the link shaped to 200 Mbit/s and 1 Gbit/s
# (nginx's per-connection rate limit, the same for both clients); CPU of both; the installer's
# peak memory for 16 and 256 MiB; where the time of its read loop goes; cancel-to-final-report
# time; CPU while paused for 5 s.
# Usage: net.sh BUILD_ROOT (the cross build in BUILD_ROOT/win64 must be built)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "$1" && pwd)"
win="$build/win64"
bench_exe="$win/tests/net_bench.exe"
servers="$root/tests/net/servers/netservers.py"
state="$build/net-bench"
[ -x "$bench_exe" ] || { echo "net.sh: $bench_exe is missing; build $win first" >&2; exit 1; }

export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"

python3 "$servers" start "$state" --bench --lifetime 1800 >/dev/null
cleanup() {
    python3 "$servers" stop "$state" || true
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
port=$(sed -n 's/^http = //p' "$state/servers.ini")
url() { echo "http://127.0.0.1:$port/${2:-files}/$1"; }
out="$state/downloads"
mkdir -p "$out"
winpath() { echo "Z:${1//\//\\}"; }

# A persistent wineserver, so that neither its start nor its end is timed; its CPU is read
# from /proc around each run (the installer's I/O partly goes through it).
wineserver -p
wine cmd /c exit 0 >/dev/null 2>&1 || true
server_dir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
ws_pid=""
for p in $(pgrep -x wineserver64; pgrep -x wineserver); do
    case "$(readlink "/proc/$p/cwd")" in */"$server_dir") ws_pid=$p ;; esac
done
ws_cpu() { [ -n "$ws_pid" ] && awk '{ printf "%.2f", ($14 + $15) / 100 }' "/proc/$ws_pid/stat" || echo 0; }

calc() { awk "BEGIN { printf \"%.${2:-3}f\", $1 }"; } # EXPRESSION [DECIMALS]
get() { tr -d "\r" <"$2" | sed -n "s/^$1 //p" | head -1; }
median3() { printf '%s\n' "$@" | sort -g | sed -n 2p; }

run_installer() { # FILE RESULT [LOCATION]
    local before after
    before=$(ws_cpu)
    wine "$bench_exe" download "$(url "$1" "${3:-files}")" "$(winpath "$out/$1")" >"$2" 2>/dev/null
    after=$(ws_cpu)
    echo "wineserver_cpu $(calc "$after - $before")" >>"$2"
}
run_curl() { # FILE RESULT [LOCATION]
    local TIMEFORMAT='%R %U %S' times
    times=$({ time curl -s -o "$out/curl-$1" "$(url "$1" "${3:-files}")"; } 2>&1)
    read -r real user sys <<<"$times"
    echo "seconds $real" >"$2"
    echo "mib_per_s $(calc "$(stat -c %s "$out/curl-$1") / 1048576 / $real" 1)" >>"$2"
    echo "cpu $(calc "$user + $sys")" >>"$2"
}

echo "net: downloads from nginx on 127.0.0.1 to $out (3 runs each, median)"
declare -a inst_rate inst_cpu inst_ws curl_rate curl_cpu
for i in 1 2 3; do
    run_installer bench256m.bin "$state/inst$i"
    grep -q '^ok 1' "$state/inst$i" || { echo "net.sh: the installer's download failed" >&2; cat "$state/inst$i" >&2; exit 1; }
    inst_rate+=("$(get mib_per_s "$state/inst$i")")
    inst_cpu+=("$(calc "$(get cpu_user "$state/inst$i") + $(get cpu_kernel "$state/inst$i")")")
    inst_ws+=("$(get wineserver_cpu "$state/inst$i")")
    run_curl bench256m.bin "$state/curl$i"
    curl_rate+=("$(get mib_per_s "$state/curl$i")")
    curl_cpu+=("$(get cpu "$state/curl$i")")
done
ir=$(median3 "${inst_rate[@]}")
cr=$(median3 "${curl_rate[@]}")
printf '256 MiB                    %14s %10s\n' "installer" "curl"
printf '  throughput (MiB/s)       %14s %10s\n' "$ir" "$cr"
printf '  CPU (s, user+sys)        %14s %10s\n' "$(median3 "${inst_cpu[@]}")" "$(median3 "${curl_cpu[@]}")"
printf '  + wineserver CPU (s)     %14s\n' "$(median3 "${inst_ws[@]}")"
printf '  throughput ratio installer/curl: %s\n' "$(calc "$ir / $cr")"
printf '  installer time to the first byte %s s, in the transfer %s s (run 2)\n' \
    "$(get probe_seconds "$state/inst2")" "$(get transfer_seconds "$state/inst2")"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    shm=$(mktemp -d /dev/shm/nvx-net-bench.XXXXXX)
    wine "$bench_exe" download "$(url bench256m.bin)" "$(winpath "$shm/bench256m.bin")" >"$state/inst-shm" 2>/dev/null || true
    rm -rf "$shm"
    printf '  the same job into tmpfs (a flush costs nothing there): %s MiB/s, transfer %s s\n' \
        "$(get mib_per_s "$state/inst-shm")" "$(get transfer_seconds "$state/inst-shm")"
fi

echo "the same file over a shaped link (one run each)"
for link in link200m link1g; do
    run_installer bench256m.bin "$state/inst-$link" "$link"
    grep -q '^ok 1' "$state/inst-$link" || { echo "net.sh: the shaped download failed" >&2; exit 1; }
    run_curl bench256m.bin "$state/curl-$link" "$link"
    li=$(get mib_per_s "$state/inst-$link")
    lc=$(get mib_per_s "$state/curl-$link")
    printf '  %-8s installer %6s MiB/s, curl %6s MiB/s, ratio %s\n' "$link" "$li" "$lc" "$(calc "$li / $lc")"
done

run_installer bench16m.bin "$state/inst16"
echo "peak memory of the installer process (working set / private bytes, MiB)"
printf '  16 MiB file:  %s / %s\n' "$(get peak_working_set_mib "$state/inst16")" "$(get peak_private_mib "$state/inst16")"
printf '  256 MiB file: %s / %s\n' "$(get peak_working_set_mib "$state/inst2")" "$(get peak_private_mib "$state/inst2")"

wine "$bench_exe" profile "$(url bench256m.bin)" "$(winpath "$out/profile.bin")" >"$state/profile" 2>/dev/null
echo "where the read loop's time goes (256 MiB, same request and loop, each step timed)"
printf '  total %s s (%s MiB/s)\n' "$(get seconds "$state/profile")" "$(get mib_per_s "$state/profile")"
for step in query read write flush other; do
    calls=$(get "${step}_calls" "$state/profile")
    printf '  %-6s %7s s  %5s %%%s\n' "$step" "$(get "${step}_seconds" "$state/profile")" \
        "$(get "${step}_share" "$state/profile")" "${calls:+  ($calls calls)}"
done
printf '  largest amount one availability query offered: %s bytes; %s reports\n' \
    "$(get max_available "$state/profile")" "$(get reports "$state/profile")"

wine "$bench_exe" cancel "$(url bench256m.bin)" "$(winpath "$out/cancel.bin")" >"$state/cancel" 2>/dev/null
printf 'cancel_event to final report: median %s ms (min %s, max %s; 5 cancels at 8 MiB);\n' \
    "$(get cancel_median_ms "$state/cancel")" "$(get cancel_min_ms "$state/cancel")" "$(get cancel_max_ms "$state/cancel")"
printf '  the last read came %s ms after the signal (median); the rest is closing the request and the 500 ms pause\n' \
    "$(get cancel_last_read_median_ms "$state/cancel")"

wine "$bench_exe" pause "$(url bench256m.bin)" "$(winpath "$out/pause.bin")" "$ws_pid" >"$state/pause" 2>/dev/null
printf 'paused 5 s: installer CPU %s s, wineserver CPU %s s, bytes read while paused %s\n' \
    "$(get paused_cpu_seconds "$state/pause")" "$(get paused_wineserver_cpu_seconds "$state/pause")" \
    "$(get bytes_read_while_paused "$state/pause")"
rm -f "$out"/*.bin
