# The Debian package, vrk_VERSION_amd64.deb: what `cmake --install` installs, under /usr, made by
# `cpack -G DEB` in the build tree (scripts/package). The installation carries the Debian
# documentation files too: the copyright file and the changelog, gzipped without a name or time stamp
# so that the same sources make the same file.
set(VRK_MAINTAINER "The VRK developers <vrk@example.org>" CACHE STRING "Maintainer of the Debian package")

set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${changelog}.gz
                   COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/changelog ${changelog}
                   COMMAND ${GZIP} -9nf ${changelog}
                   DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(vrk_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${changelog}.gz DESTINATION share/doc/vrk)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vrk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The spreadsheet library is loaded when a workbook is first written, not linked, so the libraries the
# programs link do not name it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libxlsxwriter4")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VRK_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogues of collections of any kind")
set(CPACK_PACKAGE_DESCRIPTION
    "VRK keeps catalogs of books, records, stamps, tools or any other collection.
A catalog is a layout of up to twenty fixed-length fields: key fields are
indexed for alphabetical order, sum fields are totalled and computed fields
are worked out from two others. Entries are made, browsed, searched, listed,
printed, sorted and moved in and out of dBase III files.

The package holds the desktop program vrk, the command-line tool vrkcli and
the backup program vrkback, with the module that prints vrkcli's reports into
PDF files.")
include(CPack)
