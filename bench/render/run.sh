#!/usr/bin/env bash
# Whole-process time of `folio render`: a page of 1,000 placeholders against Jinja2 filling
# the same page with the same values and writing the file; then 1, 10, 100 and 1,000 body
# passes into one report. Prints the figures; not a test.
#   bench/render/run.sh            (BUILD=build by default; RUNS=10)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-build}
runs=${RUNS:-10}
case $build in /*) ;; *) build=$root/$build ;; esac

"$root/scripts/bootstrap" --bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target folio_cli >/dev/null
folio=$build/bin/folio

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/env python3 "$root/bench/render/make_inputs.py" "$work" 1000
cd "$work"

# Debian's Python, which python3-jinja2 serves.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
summarize="$py $root/bench/render/summarize.py"

echo "== 1,000 placeholders, one page (whole process, $runs runs)"
hyperfine -N --style none --warmup 2 --runs "$runs" --export-json folio.json \
  "$folio render flat.htm --values flat.json -o flat-report.htm --option replace" >/dev/null
hyperfine -N --style none --warmup 2 --runs "$runs" --export-json jinja.json \
  "$py $root/bench/render/render_jinja.py flat.j2 flat.json flat-jinja.htm" >/dev/null
hyperfine -N --style none --warmup 2 --runs "$runs" --export-json python.json "$py -c pass" >/dev/null
printf '  folio render           %s\n' "$($summarize mean folio.json)"
printf '  Jinja2 (python3)       %s\n' "$($summarize mean jinja.json)"
printf '  python3 start alone    %s\n' "$($summarize mean python.json)"

echo "== body passes into one report (8 placeholders and one picture per body)"
printf '  passes  whole process (wall, processor) and per pass\n'
for k in 1 10 100 1000; do
  n=$runs
  [ "$k" -ge 100 ] && n=3
  [ "$k" -ge 1000 ] && n=1
  hyperfine -N --style none --runs "$n" --export-json "passes_$k.out.json" \
    --prepare "rm -rf passes-report.htm passes-report_files" \
    "$folio render sectioned.htm --values passes_$k.json -o passes-report.htm --option replace" >/dev/null
  $summarize passes "passes_$k.out.json" "$k"
done
echo "  report after 1,000 passes: $(du -h passes-report.htm | cut -f1), $(ls passes-report_files | wc -l) pictures"
