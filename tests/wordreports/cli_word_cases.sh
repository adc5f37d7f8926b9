#!/usr/bin/env bash
# Bad input to the folio program's Word reports, as a user meets it: each case must end
# with a message naming the problem, the user's existing report byte for byte as it was,
# and nothing left beside it.   cli_word_cases.sh CASE FOLIO EXAMPLES
set -uo pipefail
case_name=$1
folio=$2
examples=$3
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
exec </dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
run() { "$@" >out.txt 2>err.txt; status=$?; }
expect_in() { grep -qF -- "$2" "$1" || { cat out.txt err.txt >&2; fail "\"$2\" not in $1"; }; }
# The user's report, rendered from the example, in a folder of its own.
mkdir reports
"$folio" render "$examples/surface-report.docx" --values "$examples/measurements.json" -o reports/report.docx \
  >/dev/null 2>&1 || fail "the example does not render"
before=$(md5sum < reports/report.docx)
expect_report_kept() {
  [ "$(md5sum < reports/report.docx)" = "$before" ] || fail "the report changed"
  [ "$(ls -A reports)" = "report.docx" ] || fail "left beside the report: $(ls -A reports | tr '\n' ' ')"
}
# values.json answering the example from the copied pictures folder.
copy_values() { cp -r "$examples/pictures" pictures; cp "$examples/measurements.json" values.json; }

case $case_name in
damaged_template)
  head -c 3000 "$examples/surface-report.docx" > damaged.docx
  for option in replace append; do
    run "$folio" render damaged.docx --values "$examples/measurements.json" -o reports/report.docx --option $option
    [ "$status" -eq 1 ] || fail "exit status $status, expected 1"
    expect_in err.txt "damaged.docx"
    expect_report_kept
  done
  ;;
picture_that_is_no_picture)
  copy_values
  echo "not a picture" > pictures/topography_2.png
  # --strict refuses before anything is written; the message names the user's file.
  for option in replace append; do
    run "$folio" render "$examples/surface-report.docx" --values values.json -o reports/report.docx --option $option --strict
    [ "$status" -eq 1 ] || fail "exit status $status, expected 1"
    expect_in err.txt "picture \"$work/pictures/topography_2.png\" is no PNG"
    expect_report_kept
  done
  # Otherwise the report is made, with the refusal in the picture's place.
  run "$folio" render "$examples/surface-report.docx" --values values.json -o other.docx
  [ "$status" -eq 0 ] || fail "exit status $status, expected 0"
  expect_in err.txt "picture \"$work/pictures/topography_2.png\" is no PNG"
  python3 -c "import zipfile; print(zipfile.ZipFile('other.docx').read('word/document.xml').decode())" > other.xml
  expect_in other.xml "topography_2.png\" is no PNG"
  ;;
read_only_report)
  chmod 444 reports/report.docx
  chmod 555 reports
  as_user=()
  # root writes whatever the permissions say: run as nobody, as a user would be.
  [ "$(id -u)" -ne 0 ] || as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  for option in replace append; do
    run "${as_user[@]}" "$folio" render "$examples/surface-report.docx" --values "$examples/measurements.json" \
      -o reports/report.docx --option $option
    [ "$status" -eq 1 ] || fail "exit status $status, expected 1"
    expect_in err.txt "report.docx"
    expect_report_kept
  done
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "PASS: $case_name"
