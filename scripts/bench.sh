#!/usr/bin/env bash
# Runs the benchmarks and prints their figures next to their goals: the reply walk and MD5
# natively, and the gateway client's Send requests under Wine against a local gateway server.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/display.sh
cmake --preset native >/dev/null && cmake --build --preset native >/dev/null
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target send_bench >/dev/null

build/native/bench/bench_select_item
build/native/bench/bench_md5

state=$(mktemp -d)
trap 'scripts/gateway-server.sh stop "$state"; rm -rf "$state"' EXIT
address=$(scripts/gateway-server.sh start "$state" --account jana:heslo:100000.00:Jana:yes)
accepted() { curl -s "http://$address/admin/connections" | tr -dc '0-9'; }
before=$(accepted)
scripts/wine-run.sh build/win32/bench/send_bench.exe "$address" | tr -d '\r'
after=$(accepted)
# The second query's own connection is counted too.
echo "  TCP connections the server accepted for them: $((after - before - 1)) (goal: 1)"
