#!/usr/bin/env bash
# Set-up, build, and start the game in a window. On a machine without a display the game cannot
# open its window; a short headless run is made instead and its frames are written as pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/marlovek
fi
mkdir -p out/shots
./build/tools/replay/marlovek-replay --frames 400 --time 1 --script scripts/demo.script \
    --shots out/shots --shot-frames 0,60,150,250,399
echo "play: no display here, so no window; frames of a headless game are in out/shots/"
