#!/usr/bin/env bash
# Prints the size of the tests against the size of what they test: lines of the product (the
# DLL's rooms and resources, the installer, the gateway server and the browser stand-in) and
# of the tests (tests/ and the server's tests), counted over the files git knows.
set -euo pipefail
cd "$(dirname "$0")/.."

count() { git ls-files -- "$@" | xargs -r cat | wc -l; }

product=$(count 'band/*.'{cpp,h,def} 'toolbar/*.'{cpp,h} 'menu/*.'{cpp,h} 'dialogs/*.'{cpp,h} \
                'gateway/*.'{cpp,h} 'store/*.'{cpp,h} 'text/*.'{cpp,h} 'win/*.'{cpp,h} \
                'res/*.'{rc,h,rgs,idl,in} 'host/*.'{cpp,h} 'installer/*.nsi' \
                ':(exclude)server/tests/*' 'server/*.'{cpp,h})
tests=$(count 'tests/*.'{cpp,h,sh} 'server/tests/*.'{cpp,h})
echo "test lines: $tests, product lines: $product, ratio $(awk "BEGIN{printf \"%.2f\", $tests/$product}")"
