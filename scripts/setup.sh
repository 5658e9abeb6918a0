#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those missing), then
# configures and builds into build/. Usage: scripts/setup.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config libsdl2-dev libfreetype-dev
          libfontconfig-dev fonts-ipafont-gothic libpng-dev libgtest-dev libbenchmark-dev
          xvfb xdotool x11-utils imagemagick)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja "$@" > build.log 2>&1 || { cat build.log; exit 1; }
cmake --build build
