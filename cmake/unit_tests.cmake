# unit_tests.cmake: one unit-test program per layer, drovana_<layer>_tests. A file of tests/
# belongs to the highest layer it includes, directly or through the helpers of tests/ and the
# tools' libraries, and its program links that layer and those below it only: the tests of the
# match link core to match, so a match source that calls into the frontend fails to link there.
# Files that include no layer (the include order, the data builder) go with core. ctest -L
# <layer> runs one layer's tests.

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
foreach(source ${UNIT_TEST_SOURCES})
  drovana_reach(${source} layer helpers libraries)
  if(NOT layer)
    set(layer core)
  endif()
  list(APPEND tests_of_${layer} ${source})
  list(APPEND helpers_of_${layer} ${helpers})
  list(APPEND libraries_of_${layer} ${libraries})
endforeach()

include(GoogleTest)
foreach(layer ${DROVANA_LAYERS})
  if(NOT tests_of_${layer})
    continue()
  endif()
  set(program drovana_${layer}_tests)
  list(REMOVE_DUPLICATES helpers_of_${layer})
  list(REMOVE_DUPLICATES libraries_of_${layer})
  add_executable(${program} ${tests_of_${layer}} ${helpers_of_${layer}})
  target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${program} PRIVATE ${libraries_of_${layer}} drovana_${layer} GTest::gtest
                                           GTest::gtest_main)
  # Every file of the layer, not only those its tests reach: a call upwards from any of them
  # fails to link.
  target_link_options(${program} PRIVATE LINKER:--whole-archive $<TARGET_FILE:drovana_${layer}>
                      LINKER:--no-whole-archive)
  target_compile_definitions(${program} PRIVATE DROVANA_BUILD_DIR="${CMAKE_BINARY_DIR}"
                                                DROVANA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # Tests read the built data.pak and run the data builder.
  add_dependencies(${program} data)
  gtest_discover_tests(${program} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS ${layer})
  # Every unit test once more on the paths of processors without AVX2 (SSE2 and plain loops),
  # which a machine that has it would otherwise never take.
  add_test(NAME ${layer}_tests_without_avx2 COMMAND ${program} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(${layer}_tests_without_avx2 PROPERTIES ENVIRONMENT DROVANA_NO_AVX2=1
                       TIMEOUT 600 LABELS ${layer})
endforeach()
