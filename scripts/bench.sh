#!/usr/bin/env bash
# Runs the benchmarks and prints their figures next to their goals: the reply walk and MD5
# natively; under Wine against a local gateway server, 200 Send requests of the gateway
# client, a send run to 100 recipients, and the UI thread's longest stall during a run to 50
# recipients against a server that takes 100 ms a request; and 20 toolbars opened and closed in
# one process against a fast gateway and one that takes 2 s a request.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
source scripts/display.sh
cmake --preset native >/dev/null && cmake --build --preset native >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target TextaroBar send_bench send_run_bench \
    toolbar_open_bench >/dev/null
export TEXTARO_DLL=$PWD/out/x86/TextaroBar.dll

build/native/bench/bench_select_item
build/native/bench/bench_md5

state=$(mktemp -d)
trap 'for s in "$state" "$state/fast" "$state/slow"; do scripts/gateway-server.sh stop "$s"; done
      rm -rf "$state"; textaro_stop_display' EXIT
accepted() { curl -s "http://$1/admin/connections" | tr -dc '0-9'; }

# Runs a Windows benchmark against a fresh server and adds how many TCP connections the
# server accepted for it, asked from outside the benchmark's process.
against_server() { # server options -- benchmark and its arguments after the address
    local options=() address before after
    while [ "$1" != "--" ]; do options+=("$1"); shift; done
    shift
    scripts/gateway-server.sh stop "$state"
    address=$(scripts/gateway-server.sh start "$state" --account jana:heslo:100000.00 "${options[@]}")
    before=$(accepted "$address")
    scripts/wine-run.sh "$1" "$address" "${@:2}" | tr -d '\r'
    after=$(accepted "$address")
    # The second query's own connection is counted too.
    echo "  TCP connections the server accepted: $((after - before - 1)) (goal: 1)"
}

against_server -- build/win32/bench/send_bench.exe
against_server -- build/win32/bench/send_run_bench.exe 100
against_server --delay-ms 100 -- build/win32/bench/send_run_bench.exe 50

# The account refresh at every start must not slow a toolbar down when the gateway is slow.
scripts/gateway-server.sh stop "$state"
fast=$(scripts/gateway-server.sh start "$state/fast" --account jana:heslo:500.00)
slow=$(scripts/gateway-server.sh start "$state/slow" --account jana:heslo:500.00 --delay-ms 2000)
scripts/wine-run.sh build/win32/bench/toolbar_open_bench.exe "$fast" "$slow" | tr -d '\r'
