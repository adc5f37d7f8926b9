#!/usr/bin/env bash
# Builds and runs the hostile-input benchmark: each shape at doubling sizes, with
# Google Benchmark's fit of the time to the size (O(N) when linear).
#   bench/hostile/run.sh [--benchmark_filter=...]
# FOLIO_BENCH_BUILD names another build folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${FOLIO_BENCH_BUILD:-$PWD/build-bench}
scripts/bootstrap --bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFOLIO_BENCH=ON -DFOLIO_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_hostile
"$build/bench/hostile/bench_hostile" "$@"
