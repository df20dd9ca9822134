#!/usr/bin/env bash
# Usage: tests/fuzz/run.sh [SECONDS [RUNS [TARGET...]]]  (default 5 s per target; a soak gives
# both, e.g. 3600 10000000, and each target stops at whichever comes first; named targets run alone)
# Builds the targets into tests/fuzz/build and runs each over its committed seeds (corpus/<name>/,
# only read) and its <name>.dict. Exits non-zero on the first finding (kept in build/artifacts/).
set -euo pipefail

seconds=${1:-5}
runs=${2:--1}
here=$(cd "$(dirname "$0")" && pwd)
build=$here/build
targets=(reply registry history contact draft recipient menu query)
[[ $# -gt 2 ]] && targets=("${@:3}")

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

for target in "${targets[@]}"; do
    echo "=== ${target}_fuzzer: ${seconds} s"
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
    dict=()
    [[ -f $here/$target.dict ]] && dict=(-dict="$here/$target.dict")
    log=$build/$target.log
    if ! "$build/${target}_fuzzer" -max_total_time="$seconds" -runs="$runs" -max_len=8192 -timeout=10 \
        "${dict[@]}" -artifact_prefix="$build/artifacts/$target/" -print_final_stats=1 \
        "$build/corpus/$target" "$here/corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "${target}_fuzzer found a fault: see $build/artifacts/$target/"
        exit 1
    fi
    grep -E '^(stat::number_of_executed_units|INFO: Done)' "$log"
done
