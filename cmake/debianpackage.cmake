# The Debian package (`cpack -G DEB`, see scripts/package.sh): everything
# `cmake --install` lays out, under /usr, plus the documents Debian asks
# of every package. The desktop's caches are left to the triggers of
# the packages that own them (shared-mime-info, desktop-file-utils, the icon
# cache): the package holds no maintainer scripts and no cache files.

set(PENARIN_PACKAGE_MAINTAINER "Penarin developers <penarin@penarin.jp>"
    CACHE STRING "Maintainer field of the Debian package (\"Name <address>\")")

set(penarin_dist ${CMAKE_CURRENT_LIST_DIR}/../dist)
install(FILES ${penarin_dist}/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The changelog and the manual pages, filled in with this release and
# compressed as Debian wants them: as tightly as gzip can and without a time
# stamp, so the same release packs the same bytes.
execute_process(COMMAND date -u -R -d "${PENARIN_RELEASE_DATE}"
    OUTPUT_VARIABLE PENARIN_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
find_program(GZIP gzip REQUIRED)
set(penarin_gzipped)
foreach(page debian/changelog.in man/penarin.1 man/penarin-report.1)
    cmake_path(GET page FILENAME name)
    string(REGEX REPLACE "\\.in$" "" name "${name}")
    configure_file(${penarin_dist}/${page} ${PROJECT_BINARY_DIR}/doc/${name} @ONLY)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/${name}.gz
        COMMAND ${GZIP} -9 -n -f -k ${PROJECT_BINARY_DIR}/doc/${name}
        DEPENDS ${PROJECT_BINARY_DIR}/doc/${name}
        VERBATIM)
    list(APPEND penarin_gzipped ${PROJECT_BINARY_DIR}/doc/${name}.gz)
endforeach()
add_custom_target(penarin-docs ALL DEPENDS ${penarin_gzipped})
install(FILES ${PROJECT_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_BINARY_DIR}/doc/penarin.1.gz ${PROJECT_BINARY_DIR}/doc/penarin-report.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME penarin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PENARIN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "follow a baseball pennant race and its magic numbers")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_LIST_DIR}/../dist/debian/description.txt)
# penarin_5.1.7_amd64.deb, as Debian names its packages.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt widgets and SVG, GLPK, the C++
# runtime) are read from the binaries by dpkg-shlibdeps. What they only load
# at run time is named here: Qt's Japanese translations of its own buttons
# and file dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# Without a Japanese font the whole interface shows as boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Only the package is made here; a source tarball comes from git.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
