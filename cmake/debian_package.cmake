# debian_package.cmake: `make deb` builds a Debian package from the install rules with CPack.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME drovana)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D tennis game played with the mouse or a touch screen")
set(CPACK_PACKAGE_DESCRIPTION
    "Drovana is a single-player 3D tennis game for a small portrait window. Make a player\n"
    "profile, play exhibition matches, five-match tournaments on five level ladders or\n"
    "practice drills, on five stadiums whose court surfaces bounce differently, against a\n"
    "computer opponent of five strengths. Everything is drawn by its own software renderer.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "Drovana team <team@drovana.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # drovana_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The package is small; gzip builds it in a fraction of the time xz takes.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)

include(CPack)
