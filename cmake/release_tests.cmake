# release_tests.cmake: tests of what a user installs: the installed game under a virtual X
# server, the launcher and metainfo, and the Debian package's contents.
set(DROVANA_RELEASE_TESTS ${CMAKE_SOURCE_DIR}/tests/release)

add_test(NAME release.installed_game
         COMMAND ${DROVANA_RELEASE_TESTS}/installed_game.sh ${CMAKE_BINARY_DIR})
add_test(NAME release.debian_package
         COMMAND ${DROVANA_RELEASE_TESTS}/debian_package.sh ${CMAKE_BINARY_DIR})
# A machine without the X or packaging tools skips these rather than failing them.
set_tests_properties(release.installed_game release.debian_package PROPERTIES
                     SKIP_RETURN_CODE 77 TIMEOUT 180)
set_tests_properties(release.installed_game PROPERTIES RESOURCE_LOCK virtual_display)
