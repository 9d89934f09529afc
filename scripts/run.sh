#!/usr/bin/env bash
# Builds the module and its peers and runs the depreciation job through the reference host on its
# embedded defaults. Extra arguments go to the host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${KRV_RUN_BUILD:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target krvhost
exec "$build/bin/krvhost" "$@"
