#!/usr/bin/env bash
# The Word engine against python-docx: open a 100-page document with 50 pictures and
# 100 placeholder shapes, replace every placeholder by text, save. Builds the benchmark,
# writes the document, then prints whole-process medians (wall and processor time) of
# both, run alternately; then the engine's in-process figures from Google Benchmark.
#   bench/word/run.sh            (BUILD=build-word-bench by default; RUNS=15)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-build-word-bench}
runs=${RUNS:-15}
case $build in /*) ;; *) build=$root/$build ;; esac

"$root/scripts/bootstrap" --bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFOLIO_BENCH=ON -DFOLIO_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_word >/dev/null
bench=$build/bench/word/bench_word

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --make "$work/input.docx"
echo "== whole process: $(du -k "$work/input.docx" | cut -f1) kB document, 100 placeholders, 50 pictures"
compare() {
  /usr/bin/python3 "$root/bench/word/compare.py" "$runs" "$work/input.docx" "$build/bench/word/bench_word_replace" \
    "$root/bench/word/replace_placeholders.py"
}
compare
echo "== whole process, each run replacing the output the run before wrote"
OVERWRITE=1 compare
echo "== in process (engine only)"
"$bench" --benchmark_filter=BM_EngineInProcess --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
  grep -E "median|mean"
