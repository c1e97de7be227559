# release_tests.cmake: tests of what a user installs: the installed game under a virtual X
# server, the launcher and metainfo, the Debian package's contents, and the Linux tarball
# unpacked and played.
set(DROVANA_RELEASE_TESTS ${CMAKE_SOURCE_DIR}/tests/release)

add_test(NAME release.installed_game
         COMMAND ${DROVANA_RELEASE_TESTS}/installed_game.sh ${CMAKE_BINARY_DIR})
add_test(NAME release.debian_package
         COMMAND ${DROVANA_RELEASE_TESTS}/debian_package.sh ${CMAKE_BINARY_DIR})
add_test(NAME release.tarball_game
         COMMAND ${DROVANA_RELEASE_TESTS}/tarball_game.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
# The version the game answers with is the one the packages and archives are named by.
string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
add_test(NAME release.version COMMAND drovana --version)
set_tests_properties(release.version PROPERTIES
                     PASS_REGULAR_EXPRESSION "^drovana ${version_pattern}\n$")
# A machine without the X or packaging tools skips these rather than failing them.
set_tests_properties(release.installed_game release.debian_package release.tarball_game PROPERTIES
                     SKIP_RETURN_CODE 77 TIMEOUT 180)
set_tests_properties(release.installed_game release.tarball_game PROPERTIES
                     RESOURCE_LOCK virtual_display)
