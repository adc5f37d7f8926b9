# What `cmake --install` puts in place: the shared library with its soname, the public
# headers, the folio command with its examples, man page and bash completion, a CMake
# package (Folio::folio) and folio.pc. Paths follow GNUInstallDirs, so a Debian prefix
# of /usr gives lib/x86_64-linux-gnu.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(FOLIO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Folio)

# The installed interface: headers under include/, C++20 and Boost's headers (the umbrella
# header uses boost::shared_ptr); the implementation's own libraries stay private.
target_include_directories(folio INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_compile_features(folio INTERFACE cxx_std_20)
target_link_libraries(folio INTERFACE Boost::headers)
set_target_properties(folio PROPERTIES EXPORT_NAME folio)

# An installed command finds its library beside it under a prefix, wherever that is.
file(RELATIVE_PATH FOLIO_BIN_TO_LIB /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
if(TARGET folio_cli)
  set_target_properties(folio_cli PROPERTIES INSTALL_RPATH "$ORIGIN/${FOLIO_BIN_TO_LIB}")
  install(TARGETS folio_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/folio/examples
          PATTERN "*.py" EXCLUDE)
endif()

install(TARGETS folio EXPORT FolioTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/folio DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h")
install(EXPORT FolioTargets NAMESPACE Folio:: DESTINATION ${FOLIO_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/FolioConfig.cmake.in
  ${PROJECT_BINARY_DIR}/FolioConfig.cmake INSTALL_DESTINATION ${FOLIO_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/FolioConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/FolioConfig.cmake ${PROJECT_BINARY_DIR}/FolioConfigVersion.cmake
        DESTINATION ${FOLIO_CMAKE_DIR})

# folio.pc finds its prefix from its own place, so an install under any prefix (or
# DESTDIR) works as it lies.
file(RELATIVE_PATH FOLIO_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" FOLIO_PC_TO_PREFIX "${FOLIO_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/folio.pc.in ${PROJECT_BINARY_DIR}/folio.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/folio.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/packaging/host-example/ DESTINATION ${CMAKE_INSTALL_DATADIR}/folio/host-example)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/folio.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME folio)

# The man page is the command's own --help, so the two never disagree.
find_program(FOLIO_HELP2MAN help2man)
if(TARGET folio_cli AND FOLIO_HELP2MAN AND NOT FOLIO_FUZZ)
  set(man ${PROJECT_BINARY_DIR}/man/folio.1)
  add_custom_command(OUTPUT ${man}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${FOLIO_HELP2MAN} --no-info --no-discard-stderr
            --name "fill report templates with measurement values" --output ${man} $<TARGET_FILE:folio_cli>
    COMMAND gzip -9nf ${man}
    DEPENDS folio_cli VERBATIM)
  add_custom_target(folio_man ALL DEPENDS ${man}.gz)
  install(FILES ${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(TARGET folio_cli)
  message(STATUS "help2man not found: no man page for folio")
endif()
