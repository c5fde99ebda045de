# Sourced by scripts that start processes: calls the script's `cleanup` function once when the
# script ends, however it ends (its own exit, a failed command under `set -e`, Ctrl-C, kill),
# and keeps the exit status (130, 143, 129 after SIGINT, SIGTERM, SIGHUP).
# shellcheck shell=bash
run_cleanup_on_exit() {
    local status=$?
    trap - EXIT INT TERM HUP
    cleanup || true
    exit "$status"
}
trap run_cleanup_on_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
