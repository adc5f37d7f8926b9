#!/usr/bin/env bash
# PDF output end to end: the bundled HTML example through Chromium (text and pictures),
# Word documents through warm LibreOffice workers, a missing converter and a converter
# past its timeout (both leave an earlier PDF as it was).
#   pdf_check.sh FOLIO EXAMPLES
set -euo pipefail
folio=$1; examples=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/folio-pdf-check-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() { echo "pdf check: $*" >&2; exit 1; }
for tool in pdftotext pdfimages chromium soffice; do
  command -v $tool >/dev/null || { echo "pdf check: $tool is not installed; skipped"; exit 77; }
done

# HTML: text and every picture of the report.
"$folio" render "$examples/surface-report.htm" --values "$examples/measurements.json" -o "$scratch/r.htm" --pdf \
  >"$scratch/out" 2>&1 || { cat "$scratch/out"; fail "render --pdf"; }
grep -qx "$scratch/r.pdf" "$scratch/out" || fail "render --pdf did not name the PDF: $(cat "$scratch/out")"
pdftotext "$scratch/r.pdf" - | grep -q "Grain study" || fail "the HTML report's text is not in its PDF"
pictures=$(iconv -f utf-16 -t utf-8 "$scratch/r.htm" | grep -o '<img[^>]* src="[^"]*"' | sed 's/.* src=//' | sort -u | wc -l)
images=$(pdfimages -list "$scratch/r.pdf" | tail -n +3 | wc -l)
[ "$images" -ge "$pictures" ] && [ "$images" -gt 0 ] || fail "the PDF has $images pictures, the report $pictures"

# Word, two documents on one warm worker.
/usr/bin/python3 - "$examples/pictures/histogram.png" "$scratch" <<'PY'
import sys, docx
for name in ("a", "b"):
    document = docx.Document()
    document.add_paragraph("Roughness report %s" % name)
    document.add_picture(sys.argv[1])
    document.save("%s/%s.docx" % (sys.argv[2], name))
PY
"$folio" convert "$scratch/a.docx" "$scratch/b.docx" --pdf --workers 1 >"$scratch/out" 2>&1 \
  || { cat "$scratch/out"; fail "convert of Word documents"; }
for name in a b; do
  pdftotext "$scratch/$name.pdf" - | grep -q "Roughness report $name" || fail "$name.pdf lacks its text"
  [ "$(pdfimages -list "$scratch/$name.pdf" | tail -n +3 | wc -l)" -ge 1 ] || fail "$name.pdf lacks its picture"
done

# No converter: a clear message, and the earlier PDF stays.
before=$(md5sum <"$scratch/r.pdf")
out=$(PATH=/nonexistent "$folio" convert "$scratch/r.htm" --pdf 2>&1) && fail "convert without Chromium succeeded"
grep -q "Chromium is not installed" <<<"$out" || fail "missing converter said: $out"
[ "$(md5sum <"$scratch/r.pdf")" = "$before" ] || fail "a failed conversion changed the earlier PDF"

# A converter that hangs is stopped at the timeout.
mkdir "$scratch/bin"
printf '#!/bin/sh\nsleep 60\n' >"$scratch/bin/chromium"; chmod +x "$scratch/bin/chromium"
start=$(date +%s)
out=$(PATH="$scratch/bin:/usr/bin:/bin" "$folio" convert "$scratch/r.htm" --pdf --timeout 1 2>&1) \
  && fail "a hanging converter succeeded"
grep -q "took longer than 1 s" <<<"$out" || fail "timeout said: $out"
[ $(( $(date +%s) - start )) -lt 20 ] || fail "the hanging converter was not stopped"
[ "$(md5sum <"$scratch/r.pdf")" = "$before" ] || fail "a timed-out conversion changed the earlier PDF"
echo "pdf check: ok"
