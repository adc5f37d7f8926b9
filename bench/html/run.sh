#!/usr/bin/env bash
# Fetches the real-world HTML into .cache/html-bench (never committed), builds the
# HTML benchmarks and runs them: the reader and its peers on the same files, then
# the pathological inputs. Extra arguments go to Google Benchmark.
#   bench/html/run.sh [--benchmark_filter=...]
# FOLIO_HTML_CACHE names another cache folder, FOLIO_BENCH_BUILD another build folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
cache=${FOLIO_HTML_CACHE:-$root/.cache/html-bench}
build=${FOLIO_BENCH_BUILD:-$root/build-bench}
mkdir -p "$cache"

scripts/bootstrap --bench

# 258 real pages, as published for comparing HTML parsers.
if [ ! -d "$cache/pages" ]; then
  work=$(mktemp -d "$cache/npm.XXXXXX")
  (cd "$work" && npm pack --silent htmlparser-benchmark@1.1.3 >/dev/null &&
     tar xzf htmlparser-benchmark-1.1.3.tgz)
  mv "$work/package/files" "$cache/pages"
  rm -rf "$work"
fi

# The Python 3.11 documentation as Debian ships it (530 HTML files).
if [ ! -d "$cache/python-docs" ]; then
  work=$(mktemp -d "$cache/deb.XXXXXX")
  (cd "$work" && apt-get download -q python3.11-doc >/dev/null 2>&1 &&
     dpkg-deb -x python3.11-doc_*.deb tree)
  mv "$work/tree/usr/share/doc/python3.11/html" "$cache/python-docs"
  rm -rf "$work"
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFOLIO_BENCH=ON -DFOLIO_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_html bench_html_pathological

export FOLIO_HTML_PAGES=$cache/pages FOLIO_PYTHON_DOCS=$cache/python-docs
"$build/bench/html/bench_html" --benchmark_counters_tabular=true "$@"
"$build/bench/html/bench_html_pathological" --benchmark_counters_tabular=true "$@"
