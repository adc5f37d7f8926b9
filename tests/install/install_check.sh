#!/usr/bin/env bash
# Installs the build tree under a scratch prefix, then builds a host program against it
# out of tree, once through find_package(Folio) and once through pkg-config, and runs both.
#   install_check.sh BUILD_DIR SOURCE_DIR [EXTRA_CXXFLAGS]
set -euo pipefail
build=$(cd "$1" && pwd); source=$(cd "$2" && pwd); extra=${3:-}
scratch=$build/install-check
rm -rf "$scratch"; mkdir -p "$scratch"
prefix=$scratch/prefix
fail() { echo "install check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || { cat "$scratch/install.log"; fail "cmake --install failed"; }

libdir=$(dirname "$(find "$prefix" -name 'libfolio.so' | head -1)")
[ -n "$libdir" ] || fail "no libfolio.so installed"
soname=$(readelf -d "$libdir/libfolio.so" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
[ "$soname" = libfolio.so.0 ] || fail "soname is '$soname', expected libfolio.so.0"
[ -e "$libdir/$soname" ] || fail "$soname is not installed"
[ -x "$prefix/bin/folio" ] || fail "the folio command is not installed"
[ -f "$libdir/cmake/Folio/FolioConfig.cmake" ] || fail "no CMake package"
[ -f "$libdir/pkgconfig/folio.pc" ] || fail "no folio.pc"

# Exactly the public headers, nothing from src/.
diff <(cd "$source/include" && find folio -name '*.h' | sort) <(cd "$prefix/include" && find . -type f | sed 's#^\./##' | sort) \
  || fail "the installed headers differ from include/folio"

# The installed command runs from its prefix (its library found beside it).
"$prefix/bin/folio" --version | grep -q '^folio ' || fail "installed folio --version"

# Through CMake: the host program and a one-header translation unit per installed header.
cmake -S "$source/tests/install/host" -B "$scratch/host-cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
      -DHOST_SOURCE="$source/packaging/host-example/host.cpp" -DFOLIO_INCLUDE_DIR="$prefix/include" \
      -DCMAKE_CXX_FLAGS="$extra" >"$scratch/cmake.log" 2>&1 || { cat "$scratch/cmake.log"; fail "configure against the install"; }
cmake --build "$scratch/host-cmake" -j 2 >"$scratch/build.log" 2>&1 || { cat "$scratch/build.log"; fail "build against the install"; }
check_host() {  # how, command...
  local how=$1; shift
  local report=$scratch/$how-report.html out
  out=$("$@" "$source/examples/one-page.html" "$report" 2>&1) || fail "host ($how) failed: $out"
  grep -q "placeholders filled" <<<"$out" || fail "host ($how) said: $out"
  iconv -f utf-16 -t utf-8 "$report" | grep -q "0.421 nm" || fail "host ($how): the report lacks its value"
}
check_host cmake "$scratch/host-cmake/host"

# Through pkg-config, with nothing but the .pc file to go on.
export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
c++ $extra "$source/packaging/host-example/host.cpp" -o "$scratch/host-pc" $(pkg-config --cflags --libs folio) \
  || fail "build through pkg-config"
check_host pkg-config env LD_LIBRARY_PATH="$libdir" "$scratch/host-pc"
echo "install check: ok ($prefix)"
