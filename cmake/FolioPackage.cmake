# `make package`: one Debian package with the library, headers, CMake and pkg-config
# files, the folio command (man page, bash completion, examples) and the Python module.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME folio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Folio")
set(CPACK_PACKAGE_CONTACT "Folio developers <folio@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "report generation from HTML and Word templates")
set(CPACK_PACKAGE_DESCRIPTION "Folio fills report templates (HTML or Word) with measurement values.
 It offers a C++ library (CMake package Folio::folio, pkg-config folio), the folio
 command and a Python module (import folio).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
# Depends from the shared libraries the binaries link (dpkg-shlibdeps), plus what the
# headers and the Python module need; the PDF converters are optional.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libboost-dev, python3")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "chromium, libreoffice-writer-nogui")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)  # quick to build; the package is small
include(CPack)
