#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian 12 machine (run as root).
# Packages already present are left alone, so a second run costs seconds.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config g++ clang libclang-rt-dev clang-format
  libgtest-dev googletest libbenchmark-dev
  libcpp-httplib-dev libsqlite3-dev libssl-dev sqlite3
  mingw-w64 mingw-w64-tools libwine-dev
  wine wine64 wine32:i386 fonts-wine
  xvfb xauth imagemagick x11-utils chromium nsis
  python3 curl locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
