#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them all (or those named as arguments).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${KRV_BENCH_BUILD:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
benches=("$@")
if [ ${#benches[@]} -eq 0 ]; then
  for f in tests/bench/*.cpp; do benches+=("$(basename "$f" .cpp)"); done
fi
cmake --build "$build" -j"$(nproc)" --target "${benches[@]}"
for b in "${benches[@]}"; do echo "== $b"; "$build/bin/$b"; done
