#!/usr/bin/env bash
# Runs a command on a private Xvfb: the server picks a free display itself (-displayfd) and
# names it once it accepts connections, so there is no scanning for a free number and no
# sleeping. DISPLAY is exported to the command. The server, and the command should the script
# be interrupted, are ended on any exit (Ctrl-C included); the command's exit code is passed on.
# When the command fails, or the server ended before it, the server's log is printed (on stderr);
# XVFB_LOG names a file that receives a copy of that log in any case.
# Usage: with-xvfb.sh COMMAND [ARGS...]   (XVFB_SCREEN, default 1280x1024x24, sets the screen)
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: with-xvfb.sh COMMAND [ARGS...]" >&2; exit 2; }
# Jobs in process groups of their own: a Ctrl-C reaches this script, which then ends them
# (the command's whole group, the server after it) in order.
set -m

scratch="$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX")"
xvfb_pid=""
command_pid=""
# shellcheck disable=SC2317 # called from the exit trap
cleanup() {
    if [ -n "$command_pid" ] && kill -0 "$command_pid" 2>/dev/null; then
        kill -TERM -- "-$command_pid" 2>/dev/null || true
        wait "$command_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill -TERM "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
# shellcheck source=scripts/exit-trap.sh
source "$(dirname "${BASH_SOURCE[0]}")/exit-trap.sh"

mkfifo "$scratch/display"
# shellcheck disable=SC2086
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$scratch/display" \
    >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
read -r -t 60 display <"$scratch/display" || true
if [ -z "$display" ]; then
    echo "with-xvfb: Xvfb did not start:" >&2
    cat "$scratch/xvfb.log" >&2 || true
    exit 1
fi
export DISPLAY=":$display"

"$@" &
command_pid=$!
status=0
wait "$command_pid" || status=$?
command_pid=""
server_gone=0
kill -0 "$xvfb_pid" 2>/dev/null || server_gone=1
if [ "$server_gone" -eq 1 ] || [ "$status" -ne 0 ]; then
    {
        [ "$server_gone" -eq 0 ] || echo "with-xvfb: the X server of $DISPLAY (pid $xvfb_pid) ended before the command did"
        echo "with-xvfb: the command ended with exit code $status; log of the X server of $DISPLAY:"
        cat "$scratch/xvfb.log"
        echo "with-xvfb: (end of the X server's log)"
    } >&2
fi
[ -z "${XVFB_LOG:-}" ] || cp "$scratch/xvfb.log" "$XVFB_LOG"
exit "$status"
