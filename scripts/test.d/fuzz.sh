#!/usr/bin/env bash
# Builds the readers' fuzz targets natively with clang and libFuzzer (ASan/UBSan) and runs each
# for NVX_FUZZ_SECONDS (default 30) on a corpus seeded from the readers' test data, one after
# the other; prints the executions of each. Fails when the fuzzer finds anything in any target.
# Usage: fuzz.sh BUILD_ROOT [TARGET...]   (targets: xml ini messages manifest version_xml)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(mkdir -p "$1" && cd "$1" && pwd)/fuzz"
shift
seconds="${NVX_FUZZ_SECONDS:-30}"
fuzz="$root/tests/fuzz"

# Seeds (files or folders, relative to the checkout), dictionaries and the longest input of
# each target.
declare -A seeds=(
    [xml]="tests/data/xml"
    [ini]="demo/language tests/fuzz/seeds/ini"
    [messages]="tests/fuzz/seeds/messages"
    [manifest]="tests/data/config/manifestPro.xml tests/data/engine/manifestPlan.xml
        tests/data/engine/manifestPlanStandalone.xml demo/config/manifestPro.xml tests/data/xml/manifest_like.xml
        tests/data/manifest-check/manifest"
    [version_xml]="tests/data/net/version.xml tests/fuzz/seeds/version_xml tests/data/manifest-check/version"
)
declare -A dictionaries=(
    [xml]="xml.dict"
    [ini]="ini.dict"
    [messages]="messages.dict"
    [manifest]="xml.dict manifest.dict"
    [version_xml]="xml.dict manifest.dict"
)
declare -A max_lengths=([xml]=65536 [ini]=16384 [messages]=4096 [manifest]=65536 [version_xml]=16384)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(xml ini messages manifest version_xml)
for target in "${targets[@]}"; do
    [ -n "${seeds[$target]:-}" ] || { echo "fuzz: unknown target $target"; exit 2; }
done

# The clang whose runtime (libFuzzer, sanitizers) scripts/setup.sh installs, by its versioned name.
compiler=clang++-14
# A tree configured with another compiler is configured afresh.
if [ -f "$build/CMakeCache.txt" ] &&
    ! grep -qE "^CMAKE_CXX_COMPILER:[A-Z]*=(.*/)?${compiler//+/\\+}\$" "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
cmake -S "$fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE= >/dev/null
cmake --build "$build" --target "${targets[@]/%/_fuzz}"

# Each run writes its input to a file to read it back; memory-backed when the machine has it.
scratch="$(mktemp -d "$([ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo "$build")/nvx-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

failed=()
for target in "${targets[@]}"; do
    work="$build/$target"
    corpus="$work/corpus"
    mkdir -p "$corpus" "$work/artifacts"
    # Seeds keep their folder in the name: the string files of every language are stringPro.ini.
    for seed in ${seeds[$target]}; do
        find "$root/$seed" -type f ! -name '*.py' -print0 |
            while IFS= read -r -d '' file; do
                cp "$file" "$corpus/$(echo "${file#"$root/"}" | tr / _)"
            done
    done
    (cd "$fuzz" && cat ${dictionaries[$target]}) >"$work/dictionary"

    echo "fuzz: $target for ${seconds}s"
    if ! NVX_FUZZ_TMP="$scratch" "$build/${target}_fuzz" "$corpus" -dict="$work/dictionary" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${max_lengths[$target]}" \
        -artifact_prefix="$work/artifacts/" -print_final_stats=1 2>"$work/fuzz.log"; then
        tail -n 60 "$work/fuzz.log"
        echo "fuzz: $target found a fault (artifacts in $work/artifacts)"
        failed+=("$target")
        continue
    fi
    # The last status line carries the coverage; the final statistics the executions.
    status="$(grep -E '^#[0-9]+[[:space:]]' "$work/fuzz.log" | tail -n 1 || true)"
    field() { grep -oE "$1:? +[0-9]+" <<<"$status" | awk '{print $2}' || true; }
    final() { grep -E "^stat::$1:" "$work/fuzz.log" | awk '{print $2}' || true; }
    echo "fuzz: $target: $(final number_of_executed_units) execs, $(final average_exec_per_sec) exec/s," \
        "cov $(field cov), ft $(field ft), corpus $(field corp) inputs, peak RSS $(final peak_rss_mb) MB, no faults"
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz: faults in ${failed[*]}"; exit 1; }
