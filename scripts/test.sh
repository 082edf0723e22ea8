#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. In CI (CI=true) warnings are
# errors and the sanitizer build runs the tests a second time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

werror=OFF
[ "${CI:-}" = true ] && werror=ON
jobs=$(nproc)

cmake --preset default -DRTW_WERROR=$werror >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

if [ "${CI:-}" = true ] || [ "${RTW_ASAN:-0}" = 1 ]; then
    cmake --preset asan -DRTW_WERROR=$werror >/dev/null
    cmake --build --preset asan -j "$jobs"
    ctest --preset asan -j "$jobs"
fi
