#!/usr/bin/env bash
# Set-up, build, and every test (unit, end-to-end through the replay tool, the real window under
# Xvfb when the SDL host is built).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build
ctest --output-on-failure -j2
