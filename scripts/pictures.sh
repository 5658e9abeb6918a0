#!/usr/bin/env bash
# Renders the README's pictures from a replay of scripts/readme.script (run after a build).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mktemp -d)
./build/tools/replay/marlovek-replay --frames 2460 --time 3 --script scripts/readme.script \
    --shots "$out" --shot-frames 150,1365,2200,2450
mkdir -p docs/images
cp "$out/frame-000150.png" docs/images/title.png
cp "$out/frame-001365.png" docs/images/play.png
cp "$out/frame-002200.png" docs/images/sinking.png
cp "$out/frame-002450.png" docs/images/result.png
rm -r "$out"
