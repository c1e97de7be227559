# windows_tests.cmake: the unit tests for Windows, one program (drovana_tests.exe) of every
# tests/*_test.cpp with the helpers and the tools' libraries it reaches, as the native build finds
# them, but those that need what Windows lacks: configuring says which and why.
# tests/windows/run-tests runs it under Wine, beside the driver's scripts and the window.

# data.pak beside the programs, where the game, the driver and the tests look for it.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/data.pak
  COMMAND ${CMAKE_COMMAND} -E copy ${DROVANA_NATIVE_BUILD}/data.pak ${CMAKE_BINARY_DIR}/data.pak
  DEPENDS ${DROVANA_NATIVE_BUILD}/data.pak)
add_custom_target(windows_data ALL DEPENDS ${CMAKE_BINARY_DIR}/data.pak)

# Left out by name: each runs a native program or a POSIX call with no Windows twin.
set(WINDOWS_LEFT_OUT_TESTS
    # runs the native data builder, a Linux program
    data_builder_test
    # kills a forked child in the middle of a save: tests/windows/save_kill_windows_test.cpp
    # ends a second process the Windows way
    save_crash_test
    # limits the file size with setrlimit to make a write fail
    replay_file_test
    # sends shots to the pictures folder HOME names; Windows' is the Pictures known folder
    screenshot_test)
file(GLOB WINDOWS_TEST_CANDIDATES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp
     ${CMAKE_SOURCE_DIR}/tests/windows/*_test.cpp)
set(WINDOWS_TEST_SOURCES)
set(WINDOWS_TEST_LIBRARIES)
foreach(source ${WINDOWS_TEST_CANDIDATES})
  get_filename_component(name ${source} NAME_WE)
  if(name IN_LIST WINDOWS_LEFT_OUT_TESTS)
    message(STATUS "${name} runs on Linux only")
    continue()
  endif()
  drovana_reach(${source} layer helpers libraries)
  list(APPEND WINDOWS_TEST_SOURCES ${source} ${helpers})
  list(APPEND WINDOWS_TEST_LIBRARIES ${libraries})
endforeach()
list(REMOVE_DUPLICATES WINDOWS_TEST_SOURCES)
list(REMOVE_DUPLICATES WINDOWS_TEST_LIBRARIES)

set(GTEST_DIR /usr/src/googletest/googletest)
add_library(windows_gtest STATIC ${GTEST_DIR}/src/gtest-all.cc ${GTEST_DIR}/src/gtest_main.cc)
target_include_directories(windows_gtest PUBLIC ${GTEST_DIR}/include PRIVATE ${GTEST_DIR})
add_executable(drovana_tests ${WINDOWS_TEST_SOURCES})
target_include_directories(drovana_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(drovana_tests PRIVATE ${WINDOWS_TEST_LIBRARIES} drovana_app windows_gtest)
target_compile_definitions(drovana_tests PRIVATE DROVANA_BUILD_DIR="${CMAKE_BINARY_DIR}"
                                                 DROVANA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# setenv, unsetenv, mkdtemp and M_PI, which the shared tests take from POSIX.
target_compile_options(drovana_tests PRIVATE -include ${CMAKE_SOURCE_DIR}/tests/windows/posix_compat.h)
add_dependencies(drovana_tests windows_data)
