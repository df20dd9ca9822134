#!/usr/bin/env bash
# Usage: tests/fuzz/run.sh [SECONDS]  (default 30)
# Builds the reply fuzzer into tests/fuzz/build and runs it for SECONDS over the committed seeds.
# What it learns goes to a scratch corpus in the build folder; the seeds are only read. Exits
# non-zero when the fuzzer finds a fault (the input is kept in build/artifacts/).
set -euo pipefail

seconds=${1:-30}
here=$(cd "$(dirname "$0")" && pwd)
build=$here/build

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j1

mkdir -p "$build/corpus" "$build/artifacts"
"$build/reply_fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -dict="$here/reply.dict" -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
    "$build/corpus" "$here/corpus"
