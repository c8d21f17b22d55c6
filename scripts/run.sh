#!/usr/bin/env bash
# Installs what is missing, builds, and starts RostimaShr on the default database
# (build/bin/Rostima.mdb, made from the schema when it is missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
exec "$root/build/bin/RostimaShr"
