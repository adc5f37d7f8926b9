#!/usr/bin/env bash
# End-to-end cases of the folio program: cli_cases.sh CASE FOLIO EXAMPLES
# Each case works in its own temporary folder and never reads standard input.
set -uo pipefail
case_name=$1
folio=$2
examples=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
exec </dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
# run ARGS...: runs folio, keeping its status, standard output and standard error.
run() {
  "$folio" "$@" >out.txt 2>err.txt
  status=$?
}
expect_status() { [ "$status" -eq "$1" ] || { cat out.txt err.txt >&2; fail "exit status $status, expected $1"; }; }
expect_in() { grep -qF -- "$2" "$1" || { cat "$1" >&2; fail "\"$2\" not in $1"; }; }
# The report's text as UTF-8 (reports are UTF-16LE with a byte-order mark).
report_text() { iconv -f UTF-16LE -t UTF-8 "$1" | tr -d '\r'; }
count_in_report() { report_text "$1" > report.txt; grep -oF -- "$2" report.txt | wc -l; }
# has_text REPORT TEXT: whether the report holds the text.
has_text() { report_text "$1" > report.txt; grep -qF -- "$2" report.txt; }
render_example() {  # render_example REPORT [OPTIONS...]
  local report=$1; shift
  run render "$examples/surface-report.htm" --values "$examples/measurements.json" -o "$report" "$@"
}

case $case_name in
usage_errors_exit_2)
  run; expect_status 2; expect_in err.txt "subcommand is required"
  run render "$examples/surface-report.htm"; expect_status 2; expect_in err.txt "--values is required"
  run render "$examples/surface-report.htm" --values "$examples/measurements.json" --option sometimes
  expect_status 2; expect_in err.txt "sometimes"
  run render missing.htm --values "$examples/measurements.json"; expect_status 2; expect_in err.txt "missing.htm"
  run frobnicate; expect_status 2
  run add-placeholder "$examples/one-page.html" --field date; expect_status 2; expect_in err.txt "--group"
  [ ! -s out.txt ] || fail "usage errors print nothing on standard output"
  ;;
help_and_version_on_stdout)
  run --help; expect_status 0; expect_in out.txt "render"; expect_in out.txt "add-placeholder"
  [ ! -s err.txt ] || fail "help wrote to standard error"
  run render --help; expect_status 0; expect_in out.txt "--option"; expect_in out.txt ".docx"
  run inspect --help; expect_status 0; expect_in out.txt ".docx"; expect_in out.txt "--strict"
  run --version; expect_status 0
  grep -qE '^folio [0-9]+\.[0-9]+\.[0-9]+$' out.txt || fail "version line: $(cat out.txt)"
  ;;
render_sectioned_example)
  cp -r "$examples/pictures" originals
  render_example "$work/r/report.htm"; expect_status 0
  [ "$(cat out.txt)" = "$work/r/report.htm" ] || fail "prints the report's path, got: $(cat out.txt)"
  [ "$(head -c 2 r/report.htm | od -An -tx1 | tr -d ' ')" = "fffe" ] || fail "no UTF-16LE byte-order mark"
  for text in "Surface measurement report" "Grain study, batch 14<BR>" "Measurement 3" "scan_016.spm" \
              " 1.234&nbsp;nm" "1024 px" "Tip contamination suspected." " 9.88 µm" "Summary of 3 measurements" \
              "All three samples are within tolerance" "report.htm"; do
    has_text r/report.htm "$text" || fail "\"$text\" not in the report"
  done
  [ "$(count_in_report r/report.htm '<h2>Measurement ')" -eq 3 ] || fail "three body passes expected"
  [ "$(count_in_report r/report.htm 'KORI {')" -eq 0 ] || fail "a placeholder was left in the report"
  [ "$(count_in_report r/report.htm '<object')" -eq 0 ] || fail "an object placeholder was left"
  [ "$(ls r/report_files/Image_*.png | wc -l)" -eq 12 ] || fail "12 pictures expected: $(ls r/report_files)"
  cmp -s r/report_files/Image_000.png "$examples/pictures/topography_1.png" || fail "first picture is not topography_1"
  [ -f r/report_files/logo.png ] || fail "the template's companion files were not copied"
  has_text r/report.htm 'src="report_files/logo.png"' || fail "companion reference not rewritten"
  diff -r originals "$examples/pictures" >/dev/null || fail "the example pictures were changed"
  ;;
render_one_page_utf8)
  run render "$examples/one-page.html" --values "$examples/one-page.json" -o page.html; expect_status 0
  for text in "Relevé de rugosité — échantillon n° 7" "Acier inoxydable poli, Größe 12 mm" " 21.5 °C" \
              "Mesure répétée après nettoyage à l'éthanol." "Ångström"; do
    has_text page.html "$text" || fail "\"$text\" not in the report"
  done
  [ -f page_files/Image_000.png ] || fail "picture not copied"
  ! grep -q "no value" err.txt || fail "accented names did not match: $(cat err.txt)"
  ;;
existing_report_needs_an_option)
  render_example report.htm; expect_status 0
  before=$(md5sum < report.htm)
  render_example report.htm; expect_status 2
  expect_in err.txt "exists"; expect_in err.txt "--option replace"; expect_in err.txt "--option append"
  [ "$(md5sum < report.htm)" = "$before" ] || fail "the refused report was changed"
  ;;
overwrite_without_terminal_is_refused)
  render_example report.htm; expect_status 0
  before=$(md5sum < report.htm)
  render_example report.htm --option overwrite; expect_status 1
  expect_in err.txt "left as it was"; expect_in err.txt "--option replace"
  [ "$(md5sum < report.htm)" = "$before" ] || fail "the report was changed without an answer"
  ;;
replace_and_append_options)
  render_example report.htm; expect_status 0
  render_example report.htm --option append; expect_status 0
  [ "$(count_in_report report.htm '<h2>Measurement ')" -eq 6 ] || fail "append: six bodies expected"
  [ "$(ls report_files/Image_*.png | wc -l)" -eq 24 ] || fail "append: the first run's pictures must stay"
  render_example report.htm --option replace; expect_status 0
  [ "$(count_in_report report.htm '<h2>Measurement ')" -eq 3 ] || fail "replace: three bodies expected"
  render_example report.htm --option auto; expect_status 0
  [ "$(count_in_report report.htm '<h2>Measurement ')" -eq 6 ] || fail "auto adds to an existing report"
  ;;
missing_value_is_named)
  printf '{"values": [{"group": "BasicInfo", "field": "desc", "parameter1": "Matériau", "text": "steel"}]}' > v.json
  run render "$examples/one-page.html" --values v.json -o page.html; expect_status 0
  expect_in err.txt "warning: no value for Roughness/RoughnessParameter (parameter1 Sa)"
  has_text page.html "[no value for BasicInfo/MainImage]" || fail "message not in the report"
  has_text page.html "steel" || fail "given value missing"
  ;;
strict_fails_before_writing)
  printf '{"values": []}' > v.json
  run render "$examples/one-page.html" --values v.json -o page.html --strict; expect_status 1
  expect_in err.txt "error: no value for BasicInfo/MainImage"; expect_in err.txt "nothing was written"
  [ ! -e page.html ] || fail "--strict wrote a report"
  run render "$examples/one-page.html" --values "$examples/one-page.json" -o page.html --strict; expect_status 0
  ;;
bad_values_file_exits_2)
  printf '{"values": [{"group": "G", "field": "F", "integer": "12"}]}' > v.json
  run render "$examples/one-page.html" --values v.json -o page.html; expect_status 2
  expect_in err.txt 'values[0]: "integer" must be a whole number'
  [ ! -e page.html ] || fail "a report was written"
  ;;
bad_last_measurement_leaves_the_report)
  render_example report.htm; expect_status 0
  cp report.htm before.htm
  # Many good measurements, then one bad: the file is refused before any pass runs.
  { printf '{"measurements": ['
    for k in $(seq 300); do printf '{"values": [{"group": "BasicInfo", "field": "filename", "text": "m%s"}]},' "$k"; done
    printf '{"values": [{"group": "BasicInfo", "field": "filename", "txt": "last"}]}]}'; } > v.json
  run render "$examples/surface-report.htm" --values v.json -o report.htm --option append; expect_status 2
  expect_in err.txt 'measurements[300].values[0]: unknown key "txt"'
  cmp -s report.htm before.htm || fail "the report was touched"
  ;;
inspect_lists_placeholders)
  run inspect "$examples/surface-report.htm" --values "$examples/measurements.json"; expect_status 0
  expect_in out.txt "30 placeholders"
  expect_in out.txt "BasicInfo/range (parameter1 XAxis)"
  expect_in out.txt "legacy names, translated from General/xrange"
  expect_in out.txt "legacy placeholder, names unchanged"
  expect_in out.txt "Roughness/RoughnessParameter (parameter1 Sa, statistics2 Mean)"
  expect_in out.txt "value: measurements[0].values[6]"
  ! grep -q "NO VALUE" out.txt || fail "every example placeholder has a value"
  [ -z "$(ls)" ] || [ "$(ls)" = "$(printf 'err.txt\nout.txt')" ] || fail "inspect left files: $(ls)"
  ;;
inspect_tells_what_became_of_legacy_names)
  object='<object classid="CLSID:7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27"><param name=Group value="Tip"><param name=Field value="%s"></object>'
  printf "<html><body>$object $object</body></html>" TipWidth TipHeight > legacy.htm
  printf '{"values": []}' > none.json
  run inspect legacy.htm --values none.json; expect_status 0
  expect_in out.txt "legacy names Tip/TipWidth: field no longer supported; value: answered by Folio"
  expect_in out.txt "Tip/TipHeight"
  expect_in out.txt "value: NO VALUE"
  ;;
append_joins_reports)
  run render "$examples/one-page.html" --values "$examples/one-page.json" -o a.html; expect_status 0
  run render "$examples/one-page.html" --values "$examples/one-page.json" -o b.html; expect_status 0
  run append a.html b.html; expect_status 0
  [ "$(count_in_report b.html '<h1>Relevé de rugosité')" -eq 2 ] || fail "two reports' bodies expected"
  [ "$(count_in_report b.html '</body>')" -eq 1 ] || fail "one closing body tag expected"
  run append a.html c.html; expect_status 0
  [ -f c.html ] && [ -d c_files ] || fail "append to a missing target copies the report and its pictures"
  run append a.html notes.txt; expect_status 2
  ;;
add_placeholder_extends_a_report)
  cp "$examples/one-page.html" t.html
  run add-placeholder t.html --group BasicInfo --field filename --unit-options 1; expect_status 0
  run inspect t.html; expect_status 0; expect_in out.txt "9 placeholders"; expect_in out.txt "BasicInfo/filename"
  sed 's/"values": \[/"values": [{"group": "BasicInfo", "field": "filename", "text": "added.spm"},/' \
    "$examples/one-page.json" > v.json
  cp -r "$examples/pictures" .
  run render t.html --values v.json -o page.html --strict; expect_status 0
  has_text page.html "added.spm" || fail "the added placeholder was not filled"
  run add-placeholder missing.html --group G --field F; expect_status 2
  ;;
word_append_and_add_placeholder)
  # Two small Word reports, written with the standard library alone.
  python3 - <<'PY'
import zipfile
def docx(name, text):
    with zipfile.ZipFile(name, "w") as z:
        z.writestr("[Content_Types].xml", '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
        z.writestr("_rels/.rels", '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>')
        z.writestr("word/document.xml", '<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body><w:p><w:r><w:t>%s</w:t></w:r></w:p><w:sectPr/></w:body></w:document>' % text)
docx("a.docx", "Report A")
docx("b.docx", "Report B")
PY
  main_xml() { python3 -c "import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read('word/document.xml').decode())" "$1"; }
  run append a.docx b.docx; expect_status 0; expect_in out.txt "$work/b.docx"
  main_xml b.docx > b.xml
  expect_in b.xml "Report B"; expect_in b.xml "Report A"
  run append a.docx c.docx; expect_status 0
  main_xml c.docx > c.xml; expect_in c.xml "Report A"
  run append a.docx b.html; expect_status 2; expect_in err.txt "two Word reports"
  cp b.docx before.docx
  run append broken.docx b.docx; expect_status 2
  printf 'not a zip' > broken.docx
  run append broken.docx b.docx; expect_status 1
  cmp -s b.docx before.docx || fail "a failed append must leave the report as it was"
  run add-placeholder b.docx --group BasicInfo --field filename; expect_status 0
  [ ! -s err.txt ] || fail "nothing to note for a plain placeholder"
  run add-placeholder b.docx --group Roughness --field Sa --unit-options 1; expect_status 0
  expect_in err.txt "keeps only its group and field"
  python3 -c "import sys, zipfile; z = zipfile.ZipFile('b.docx'); sys.exit(0 if any(b'ax:value=\"filename\"' in z.read(n) for n in z.namelist() if n.startswith('word/activeX/')) else 1)" \
    || fail "the placeholder control is missing from the Word report"
  ;;
binary_word_is_converted_once_each_way)
  export FOLIO_SOFFICE=$here/../support/counting-soffice FOLIO_SOFFICE_LOG=$work/conversions
  { printf 'LEGACY\n'; cat "$examples/surface-report.docx"; } > t.doc
  main_xml() { tail -c +8 "$1" > unwrapped.docx; python3 -c "import zipfile; print(zipfile.ZipFile('unwrapped.docx').read('word/document.xml').decode())"; }
  run render t.doc --values "$examples/measurements.json" -o r.doc; expect_status 0
  [ "$(wc -l < conversions)" -eq 2 ] || fail "a new .doc report: the template in and the report out, got $(wc -l < conversions)"
  [ "$(head -c 7 r.doc)" = LEGACY ] || fail "the report was not written in the binary format"
  main_xml r.doc > r.xml; expect_in r.xml "Tip contamination suspected."
  once=$(grep -o 'Tip contamination suspected.' r.xml | wc -l)
  rm conversions
  run render t.doc --values "$examples/measurements.json" -o r.doc --option append; expect_status 0
  [ "$(wc -l < conversions)" -eq 3 ] || fail "appending converts the report in as well, got $(wc -l < conversions)"
  main_xml r.doc > r.xml
  [ "$(grep -o 'Tip contamination suspected.' r.xml | wc -l)" -eq $((2 * once)) ] || fail "both runs' bodies belong in the report"
  ;;
render_and_inspect_word_example)
  main_xml() { python3 -c "import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read('word/document.xml').decode())" "$1"; }
  run inspect "$examples/surface-report.docx" --values "$examples/measurements.json"; expect_status 0
  expect_in out.txt "29 placeholders"; expect_in out.txt "table cell, paragraph 4 \"after: Project:\""
  expect_in out.txt "text box"; expect_in out.txt "header, paragraph 1"
  ! grep -q "NO VALUE\|problem" out.txt || fail "the example has a value for every placeholder and no problem"
  run render "$examples/surface-report.docx" --values "$examples/measurements.json" -o r.docx; expect_status 0
  expect_in out.txt "$work/r.docx"
  main_xml r.docx > r.xml
  python3 -c "import re, sys; print(''.join(re.findall(r'<w:t(?: [^>]*)?>([^<]*)</w:t>', open('r.xml').read())))" > r.txt
  for text in scan_014.spm scan_016.spm "Summary of 3" "1.234 nm" "Grain study, batch 14"; do expect_in r.txt "$text"; done
  # Only the placeholder answered "none" stays, as Word reports keep it (once per measurement).
  [ "$(grep -o 'descr="KORI {' r.xml | wc -l)" -eq 3 ] || fail "placeholders were left in the report"
  [ "$(grep -o '<wp:inline' r.xml | wc -l)" -ge 15 ] || fail "five pictures per measurement expected"
  printf '{"values": []}' > none.json
  run render "$examples/surface-report.docx" --values none.json -o s.docx --strict; expect_status 1
  expect_in err.txt "nothing was written"; [ ! -e s.docx ] || fail "--strict wrote a report"
  ;;
inspect_word_problems)
  # A placeholder whose description does not unpack, written with the standard library alone.
  python3 - <<'PY'
import zipfile
ns = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"'
body = '<w:p><w:r><w:t>Scan </w:t></w:r><w:r><w:drawing><wp:inline><wp:extent cx="914400" cy="457200"/><wp:docPr id="1" name="P" descr="KORI {&#13;&#10;broken"/></wp:inline></w:drawing></w:r></w:p>'
with zipfile.ZipFile("t.docx", "w") as z:
    z.writestr("[Content_Types].xml", '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
    z.writestr("_rels/.rels", '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>')
    z.writestr("word/document.xml", '<?xml version="1.0" encoding="UTF-8"?><w:document %s><w:body>%s<w:sectPr/></w:body></w:document>' % (ns, body))
PY
  run inspect t.docx; expect_status 0
  expect_in out.txt "0 placeholders"; expect_in out.txt "FOLIO-T004 error at main text, paragraph 1"
  run inspect t.docx --strict; expect_status 1
  printf '{"values": []}' > none.json
  run render t.docx --values none.json -o r.docx --strict; expect_status 1
  expect_in err.txt "FOLIO-T004"; [ ! -e r.docx ] || fail "--strict wrote a report"
  printf 'not a zip' > broken.docx
  run inspect broken.docx; expect_status 1; expect_in err.txt "could not be read"
  ;;
demo_writes_into_out)
  FOLIO_EXAMPLES="$examples" run demo; expect_status 0
  expect_in out.txt "$work/out/surface-report.htm"; expect_in out.txt "$work/out/one-page.html"
  [ -f out/surface-report.htm ] && [ -f out/one-page.html ] && [ -f out/surface-report-word.docx ] || fail "demo reports missing"
  FOLIO_EXAMPLES="$examples" run demo; expect_status 0
  [ "$(ls out/surface-report_files/Image_*.png | wc -l)" -eq 12 ] || fail "a second demo replaces the first"
  FOLIO_EXAMPLES="$work/nowhere" run demo; expect_status 2; expect_in err.txt "FOLIO_EXAMPLES"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "PASS: $case_name"
