#!/usr/bin/env bash
# Installs what is missing, builds, and starts the programmer with the emulated unit
# attached. Extra arguments go to the programmer (for example a .pff file).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/src/ui/rtwprog --simulate "$@"
