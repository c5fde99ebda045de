#!/usr/bin/env bash
# Builds the installer users download: optimised for size, unused code and data dropped at link
# time, static runtime as in every build. The shipped file is stripped; its debug information
# is kept beside it in webinstaller.debug, which the .exe names through .gnu_debuglink (a
# debugger given both finds it). Both go to one folder; prints the sizes and, from the link
# map, which libraries and objects the bytes come from.
# The shipped file is signed only when a code-signing certificate and key are given
# (NVX_SIGN_CERT: PEM with the chain, NVX_SIGN_KEY: its key; osslsigncode), never with the
# tests' CA.
# Usage: dist.sh [DIST_BUILD_DIR]   (default build/dist; the files land in DIST_BUILD_DIR/out)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(mkdir -p "${1:-$root/build/dist}" && cd "${1:-$root/build/dist}" && pwd)"
jobs="${JOBS:-2}"
objcopy=x86_64-w64-mingw32-objcopy

# -g: the debug file is worth keeping; it costs the shipped file nothing once stripped.
size_flags="-Os -DNDEBUG -g -ffunction-sections -fdata-sections"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DNVX_TEST_SIGNING=OFF \
    -DCMAKE_C_FLAGS_MINSIZEREL="$size_flags" -DCMAKE_CXX_FLAGS_MINSIZEREL="$size_flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-Wl,--gc-sections -Wl,-Map=$build/webinstaller.map" >/dev/null
cmake --build "$build" -j "$jobs" --target webinstaller

out="$build/out"
rm -rf "$out"
mkdir -p "$out"
"$objcopy" --only-keep-debug "$build/webinstaller.exe" "$out/webinstaller.debug"
# The link is made from inside the folder so that it holds the bare file name the debugger
# looks for beside the executable.
(cd "$out" && "$objcopy" --strip-all --add-gnu-debuglink=webinstaller.debug \
    "$build/webinstaller.exe" webinstaller.exe)
if [ -n "${NVX_SIGN_CERT:-}" ] && [ -n "${NVX_SIGN_KEY:-}" ]; then
    osslsigncode sign -certs "$NVX_SIGN_CERT" -key "$NVX_SIGN_KEY" -h sha256 \
        -in "$out/webinstaller.exe" -out "$out/webinstaller.signed.exe" >/dev/null
    mv -f "$out/webinstaller.signed.exe" "$out/webinstaller.exe"
    echo "dist: signed with $NVX_SIGN_CERT"
fi

size() { stat -c %s "$1"; }
shipped=$(size "$out/webinstaller.exe")
limit=$((1024 * 1024))
printf 'dist: %s\n' "$out"
printf '  webinstaller.exe    %9d bytes (%s MiB; goal <= 1 MiB: %s)\n' "$shipped" \
    "$(awk -v b="$shipped" 'BEGIN { printf "%.2f", b / 1048576 }')" \
    "$([ "$shipped" -le "$limit" ] && echo met || echo not met)"
printf '  webinstaller.debug  %9d bytes\n' "$(size "$out/webinstaller.debug")"
printf '  unstripped build    %9d bytes (%s)\n' "$(size "$build/webinstaller.exe")" "$build/webinstaller.exe"
python3 "$root/scripts/dist-map-summary.py" "$build/webinstaller.map" 10
