#!/usr/bin/env bash
# Builds the .deb from the build tree, checks its dependencies and contents, unpacks it
# into a scratch root and runs folio demo and the Python module from there.
#   package_check.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$build/package-check
rm -rf "$scratch"; mkdir -p "$scratch"
fail() { echo "package check: $*" >&2; exit 1; }

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1) \
  || { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb=$(ls "$scratch"/out/folio_*.deb)

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libstdc++6 libpugixml libboost-dev; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/folio ./usr/share/man/man1/folio.1.gz ./usr/share/bash-completion/completions/folio \
            ./usr/include/folio/folio.h ./usr/share/folio/examples/surface-report.htm; do
  grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
done
grep -q 'libfolio\.so\.0$' <<<"$contents" || fail "the package lacks libfolio.so.0"
grep -q '/folio/_folio.*\.so$' <<<"$contents" || fail "the package lacks the Python module"

root=$scratch/root
dpkg -x "$deb" "$root"
zcat "$root/usr/share/man/man1/folio.1.gz" | grep -q 'render' || fail "the man page does not describe render"
bash -n "$root/usr/share/bash-completion/completions/folio" || fail "bash completion does not parse"

# The unpacked command finds its library and its own examples (not the source tree's).
out=$(cd "$scratch" && env -u FOLIO_EXAMPLES "$root/usr/bin/folio" demo --out "$scratch/demo") || fail "folio demo: $out"
grep -q "Reports written to" <<<"$out" || fail "folio demo said: $out"
[ -s "$scratch/demo/surface-report.htm" ] || fail "folio demo wrote no report"

python=$(command -v /usr/bin/python3 || command -v python3)
pydir=$(dirname "$(find "$root" -path '*/folio/__init__.py' | head -1)")
PYTHONPATH=$(dirname "$pydir") "$python" - "$root/usr/share/folio/examples" "$scratch/py.htm" <<'PY' || fail "the Python module"
import sys, folio
examples, report = sys.argv[1], sys.argv[2]
assert folio.__file__.startswith(sys.argv[1].split("/usr/")[0]), folio.__file__
folio.render(examples + "/surface-report.htm", report, values=examples + "/measurements.json")
PY
[ -s "$scratch/py.htm" ] || fail "the Python module wrote no report"
echo "package check: ok ($(basename "$deb"))"
