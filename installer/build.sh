#!/usr/bin/env bash
# Builds out/TextaroBar-setup-VERSION.exe from the stripped x86 and x64 DLLs. One installer
# carries both, so the DLL of the other preset is built here too when it is missing or old.
# The version is the project's, as CMakeLists.txt states it for the DLL's version resource.
# The x86 recorder of arguments is built too: the installer's check puts it in place of icacls.
#   installer/build.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
version=$(sed -n 's/^project(TextaroBar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for preset in win32 win64; do
    [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target TextaroBar browser-host record_args >/dev/null
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The toolbar reads menu.ini with the ANSI functions: Windows-1250 text, CR LF line ends.
iconv -f UTF-8 -t CP1250 installer/menu.ini | sed 's/$/\r/' > "$work/menu.ini"
setup=out/TextaroBar-setup-$version.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" \
    -DX86_DLL="$root/out/x86/TextaroBar.dll" -DX64_DLL="$root/out/x64/TextaroBar.dll" \
    -DMENU_INI="$work/menu.ini" -DOUTFILE="$root/$setup" installer/TextaroBar.nsi
echo "built $setup"
