#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and demonstrates with. Idempotent.
set -euo pipefail
packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    g++ cmake make ninja-build pkg-config
    googletest libgtest-dev libbenchmark-dev libpugixml-dev
    # One LLVM version for the fuzz build and its runtime (libFuzzer, sanitizers) and for the
    # format check: the unversioned names may point to another version than the runtime's.
    clang-14 libclang-rt-14-dev clang-format-14
    wine wine64 fonts-wine fonts-liberation libgnutls30
    msitools wixl
    xvfb xauth x11-utils imagemagick librsvg2-bin
    nginx openssl osslsigncode ca-certificates curl python3 procps util-linux ccache bc
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
