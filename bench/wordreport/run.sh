#!/usr/bin/env bash
# Whole-process `folio render` of a 10-page Word template with 100 values and 10 pictures,
# against python-docx-template (Debian python3-docxtpl) and docxtemplater with its free
# image module (npm, installed under the build tree) filling an equivalent template with
# the same values and pictures. Each program's report is checked (every value, no tag
# left, the 10 pictures) before it is timed; then all three run in turn, RUNS rounds, and
# the medians, spread and ratios are printed. Not a test.
#   bench/wordreport/run.sh            (BUILD=build by default; RUNS=15)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-build}
runs=${RUNS:-15}
case $build in /*) ;; *) build=$root/$build ;; esac

"$root/scripts/bootstrap" --bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target folio_cli >/dev/null
folio=$build/bin/folio

# docxtemplater from the npm registry, at the versions package.json pins.
node_dir=$build/bench-wordreport-node
if [ ! -d "$node_dir/node_modules/docxtemplater-image-module-free" ]; then
  mkdir -p "$node_dir"
  cp "$here/package.json" "$node_dir/"
  npm install --prefix "$node_dir" --no-audit --no-fund --loglevel=error >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
py=/usr/bin/python3   # Debian's, which python3-docxtpl serves
"$py" "$here/make_inputs.py" "$work"
cd "$work"

folio_cmd="$folio render folio.docx --values folio.json -o $work/folio-{n}.docx"
docxtpl_cmd="$py $here/fill_docxtpl.py docxtpl.docx docxtpl.json $work/docxtpl-{n}.docx"
docxtemplater_cmd="env NODE_PATH=$node_dir/node_modules node $here/fill_docxtemplater.js docxtemplater.docx docxtemplater.json $work/docxtemplater-{n}.docx"

echo "== checking each program's report"
for name in folio docxtpl docxtemplater; do
  var=${name}_cmd
  command=${!var//\{n\}/check}
  $command >/dev/null
  "$py" "$here/check_output.py" "$work/$name-check.docx" "$work"
  echo "  $name: 100 values and 10 pictures shown, no tag left"
done

echo "== whole process: 10 pages, 100 values, 10 pictures of 480x360 px ($runs rounds)"
"$py" "$here/compare.py" "$runs" "folio=$folio_cmd" "docxtpl=$docxtpl_cmd" "docxtemplater=$docxtemplater_cmd"
echo "  node start alone and python3 start alone, for scale:"
"$py" "$here/compare.py" 5 "node=node -e \"require('fs').writeFileSync(process.argv[1],'')\" $work/node-{n}" \
  "python3=$py -c \"import sys; open(sys.argv[1], 'w')\" $work/python-{n}"
