#!/usr/bin/env bash
# Fails when a folder includes from a folder above it: the rooms depend one way only,
# band -> toolbar -> menu -> dialogs -> gateway, store -> text, win. The toolbar owns the menu
# and acts on its commands; the menu knows nothing of the toolbar. res/ (resource numbers) is
# open to every room of the DLL.
set -uo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [win]="win"
  [text]="text"
  [gateway]="gateway text win"
  [store]="store text win"
  [dialogs]="dialogs gateway store text win res"
  [toolbar]="toolbar menu dialogs gateway store text win res"
  [menu]="menu dialogs gateway store text win res"
  [band]="band toolbar menu dialogs gateway store text win res"
)

status=0
for room in "${!allowed[@]}"; do
  [ -d "$room" ] || continue
  while IFS=: read -r file line target; do
    folder=${target%%/*}
    if [[ " ${allowed[$room]} " != *" $folder "* ]]; then
      echo "$file:$line: $room/ must not include $target"
      status=1
    fi
  done < <(grep -rnoE '^#include "[a-z]+/[^"]+"' "$room" --include='*.h' --include='*.cpp' |
           sed -E 's/#include "([^"]+)"/\1/')
done
[ $status -eq 0 ] && echo "includes run one way"
exit $status
