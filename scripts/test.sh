#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (GUI tests headless).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
