#!/usr/bin/env bash
# Starts or stops a textaro-gateway on a free loopback port for tests, demos and benchmarks.
#   gateway-server.sh start STATE_DIR [server options...]   writes STATE_DIR/address (host:port)
#   gateway-server.sh stop STATE_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
server=${TEXTARO_GATEWAY_BIN:-$root/build/native/server/textaro-gateway}
command=$1
state=$2
shift 2

case $command in
start)
    mkdir -p "$state"
    # The last run's output goes first: the new server empties it only once it is scheduled, and
    # its old "listening on" line would hand the tests a port nobody listens on any more.
    rm -f "$state/address" "$state/gateway.db" "$state/server.out" "$state/server.err"
    "$server" --port 0 --db "$state/gateway.db" "$@" >"$state/server.out" 2>"$state/server.err" &
    pid=$!
    echo $pid >"$state/pid"
    for _ in $(seq 1 100); do
        kill -0 $pid 2>/dev/null || break
        line=$(head -n 1 "$state/server.out" 2>/dev/null || true)
        if [[ $line == "listening on "* ]]; then
            echo "${line#listening on }" >"$state/address"
            cat "$state/address"
            exit 0
        fi
        sleep 0.1
    done
    echo "textaro-gateway did not start:" >&2
    cat "$state/server.err" >&2
    exit 1
    ;;
stop)
    if [ -f "$state/pid" ]; then
        kill "$(cat "$state/pid")" 2>/dev/null || true
        rm -f "$state/pid"
    fi
    ;;
*)
    echo "usage: $0 start|stop STATE_DIR [options]" >&2
    exit 2
    ;;
esac
