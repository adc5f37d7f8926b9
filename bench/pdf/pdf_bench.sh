#!/usr/bin/env bash
# PDF conversion speed: a cold LibreOffice start per Word document against the warm pool.
#   bench/pdf/pdf_bench.sh FOLIO DOCX [COUNT]
# Prints the cold time of one document (mean of 3), the warm time per document on one
# worker, and COUNT (100) documents through the pool against COUNT cold starts.
set -euo pipefail
folio=$1; docx=$2; count=${3:-100}
work=$(mktemp -d "${TMPDIR:-/tmp}/folio-pdf-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc; }

cold_total=0
for i in 1 2 3; do
  cp "$docx" "$work/cold$i.docx"
  start=$(now); "$folio" convert "$work/cold$i.docx" --pdf >/dev/null; end=$(now)
  cold_total=$(echo "$cold_total + $(elapsed "$start" "$end")" | bc)
done
cold=$(echo "scale=3; $cold_total / 3" | bc)

# Warm: 1 and 11 documents on one worker; the difference is 10 warm conversions.
mkdir "$work/w1" "$work/w11"
cp "$docx" "$work/w1/d0.docx"; cp "$docx" "$work/w1/e0.docx"
for i in $(seq 0 11); do cp "$docx" "$work/w11/d$i.docx"; done
start=$(now); "$folio" convert "$work"/w1/*.docx --pdf --workers 1 >/dev/null; end=$(now); t2=$(elapsed "$start" "$end")
start=$(now); "$folio" convert "$work"/w11/*.docx --pdf --workers 1 >/dev/null; end=$(now); t12=$(elapsed "$start" "$end")
warm=$(echo "scale=3; ($t12 - $t2) / 10" | bc)

mkdir "$work/many"
for i in $(seq 1 "$count"); do cp "$docx" "$work/many/r$i.docx"; done
start=$(now); "$folio" convert "$work"/many/*.docx --pdf >/dev/null; end=$(now); pool=$(elapsed "$start" "$end")
made=$(ls "$work"/many/*.pdf | wc -l)

echo "cold conversion, one document:        ${cold} s (mean of 3)"
echo "warm conversion, per document:        ${warm} s (one worker, 12 vs 2 documents)"
echo "$count documents through the pool:       ${pool} s ($made PDFs, $(nproc) workers)"
echo "$count cold starts (estimated):          $(echo "$cold * $count" | bc) s; pool/cold = $(echo "scale=3; $pool / ($cold * $count)" | bc)"
