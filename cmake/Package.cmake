# The Debian package made by "make package": CPack over the install target, with its run-time
# dependencies read from the programs by dpkg-shlibdeps rather than written by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cinder-arc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tessel")
set(CPACK_PACKAGE_CONTACT "Tessel Games <games@tessel.example.net>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_FILE_NAME cinder-arc)  # a fixed name, so scripts find it; the version is inside
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vertical-scrolling shoot-'em-up over a planet's atmosphere")
# The long description as plain paragraphs: CPack puts the summary first and indents the rest the
# way control files want.
file(READ ${CMAKE_SOURCE_DIR}/dist/debian/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
# Packaging installs what is built, and only the programs and their files are needed for it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tessel.example.net/cinder-arc/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_FILE_NAME cinder-arc.deb)

# What every Debian package carries in its documentation folder (the copyright and a changelog)
# and the manual pages, compressed the reproducible way (no name or time in the gzip header).
# The manual pages go into every installation.
set(CINDER_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/cinder-arc)
set(CINDER_GZIPPED)
foreach(file debian/changelog man/cinder-arc.6 man/cinder-arc-sim.6)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/dist/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/dist/${file} > ${CMAKE_BINARY_DIR}/dist/${name}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/${file} VERBATIM)
  list(APPEND CINDER_GZIPPED ${CMAKE_BINARY_DIR}/dist/${name}.gz)
endforeach()
add_custom_target(package_docs ALL DEPENDS ${CINDER_GZIPPED})
install(FILES ${CMAKE_SOURCE_DIR}/dist/debian/copyright ${CMAKE_BINARY_DIR}/dist/changelog.gz
        DESTINATION ${CINDER_DOC_DIR})
install(FILES ${CMAKE_BINARY_DIR}/dist/cinder-arc.6.gz ${CMAKE_BINARY_DIR}/dist/cinder-arc-sim.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# Debian keeps games in /usr/games: the package moves the two programs there once they are
# installed for it (the game finds its files at ../share/cinder-arc/ from either place).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/PackageGames.cmake)

include(CPack)
