#!/usr/bin/env bash
# Word reports read by a real reader: folio renders the bundled Word example and the
# templates other producers wrote, LibreOffice turns every report into PDF in one run,
# and the PDFs must show each value and picture, and no placeholder.
#   office_check.sh FOLIO EXAMPLES PRODUCERS     (exit 77: LibreOffice or poppler missing)
set -uo pipefail
folio=$1
examples=$2
producers=$3
for tool in soffice pdftotext pdfimages; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/bootstrap --office)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
exec </dev/null

fail() { echo "FAIL: $*" >&2; failed=1; }
failed=0
render() {  # render TEMPLATE VALUES REPORT
  "$folio" render "$1" --values "$2" -o "$work/$3" >"$3.out" 2>"$3.err" ||
    { cat "$3.err" >&2; echo "FAIL: folio render $1" >&2; exit 1; }
}
render "$examples/surface-report.docx" "$examples/measurements.json" example.docx
render "$producers/from-libreoffice.docx" "$producers/values.json" libreoffice.docx
render "$producers/from-python-docx.docx" "$producers/values.json" python-docx.docx

timeout 300 soffice "-env:UserInstallation=file://$work/profile" --headless --convert-to pdf --outdir pdf \
  example.docx libreoffice.docx python-docx.docx >soffice.log 2>&1
for name in example libreoffice python-docx; do
  [ -s "pdf/$name.pdf" ] || { cat soffice.log >&2; fail "LibreOffice made no PDF of $name.docx"; exit 1; }
  pdftotext -layout "pdf/$name.pdf" "$name.txt"
done

# expect_texts NAME TEXT...: each text shows in the PDF (white space runs count as one space).
expect_texts() {
  local name=$1; shift
  tr -s ' \t\n' '   ' <"$name.txt" >"$name.flat"
  for text in "$@"; do grep -qF -- "$text" "$name.flat" || fail "$name: \"$text\" not shown"; done
  ! grep -q "KORI" "$name.txt" || fail "$name: a placeholder's description shows"
}
# expect_pictures NAME COUNT: pictures drawn in the PDF.
expect_pictures() {
  local shown
  shown=$(pdfimages -list "pdf/$1.pdf" | tail -n +3 | wc -l)
  [ "$shown" -eq "$2" ] || fail "$1: $shown pictures shown, $2 expected"
}

expect_texts example "Surface measurement report — example.docx" "Grain study, batch 14" \
  "Polished steel samples, 10 µm scans" " 9.88 µm" "Measurement 1" "Measurement 2" "Measurement 3" \
  "Scan scan_014.spm" "Drift corrected." \
  "1.234 nm" "1.639 nm" "12.88 nm" "1024 px" "Summary of 3 measurements" " 1.422 nm" " 0.2381 nm" \
  "All three samples are within tolerance (Sa < 2 nm)."
# The logo, and per measurement its three pictures, the histogram and the picture left
# where the ScreenDump placeholder had no value.
expect_pictures example 16
for name in libreoffice python-docx; do
  expect_texts "$name" "Steel sample 7 & co <polished>" "scan_107.spm" " 1.234 nm" " 1.422 nm" "Roughness report"
  expect_pictures "$name" 1
done
exit $failed
