#!/usr/bin/env bash
# Whole-process time, processor time and peak memory of `folio render` against Jinja2
# filling the same page with the same values (pages of 1,000 and 10,000 placeholders,
# run alternately, ratios from this run), then 1 to 10,000 body passes into one report,
# then the library path: one process making 1,000 reports from one template.
# Prints the figures; not a test.
#   bench/render/run.sh            (BUILD=build-bench by default; RUNS=15, about 5 minutes
#                                   on a quiet 2-core machine after the build; RUNS=3 for a
#                                   quick look)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-build-bench}
runs=${RUNS:-15}
case $build in /*) ;; *) build=$root/$build ;; esac

"$root/scripts/bootstrap" --bench
# A compiler cache, where there is one, makes a fresh build directory cheap.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLIO_BENCH=ON "${launcher[@]}" >/dev/null
cmake --build "$build" --target folio_cli bench_render >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Debian's Python, which python3-jinja2 serves.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
$py "$root/bench/render/make_inputs.py" "$work"
$py "$root/bench/render/bench.py" "$build/bin/folio" "$work" "$runs"

echo "== the library path: 1,000 reports from one template in one process (Google Benchmark)"
"$build/bench/render/bench_render" --benchmark_counters_tabular=true
