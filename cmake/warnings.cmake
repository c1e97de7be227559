# warnings.cmake: the warnings every native build asks for beyond -Wall -Wextra, and
# DROVANA_WERROR (CI) to make them fail the build.
#   -Wshadow                a local that hides a member or an outer name
#   -Wold-style-cast        casts that say which conversion they make
#   -Wmissing-declarations  a helper meant for one file left in the global namespace, where two
#                           files of one program can clash
#   -Wfloat-conversion      a floating value narrowed (to float, to an integer) without a cast
#   -Wpedantic, -Wformat=2  code that another compiler may read differently
#   -Wduplicated-cond, -Wduplicated-branches, -Wlogical-op: the copy-and-paste slips
# and for the game's own code (DROVANA_GAME_WARNINGS, layers.cmake):
#   -Wdouble-promotion      float arithmetic quietly done in double: the match steps in single
#                           precision, and a promoted term would move a result
# Clang builds (fuzzing, the browser) keep -Wall -Wextra.
option(DROVANA_WERROR "Treat compiler warnings as errors (CI)" OFF)

if(CMAKE_CXX_COMPILER_ID STREQUAL GNU)
  add_compile_options(-Wshadow -Wold-style-cast -Wmissing-declarations -Wfloat-conversion
                      -Wpedantic -Wformat=2 -Wduplicated-cond -Wduplicated-branches -Wlogical-op)
  set(DROVANA_GAME_WARNINGS -Wdouble-promotion)
endif()
if(DROVANA_WERROR)
  add_compile_options(-Werror)
endif()

# False positives of GCC 12 inside its own library code (std::string, std::vector, std::regex),
# reached from ordinary use, each turned off for the one file that meets it. The sanitizers' -O2
# build meets two more.
if(CMAKE_CXX_COMPILER_ID STREQUAL GNU AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/e2e/driver_runner.cpp PROPERTIES
                              COMPILE_OPTIONS -Wno-restrict)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/wav_image_test.cpp PROPERTIES
                              COMPILE_OPTIONS -Wno-stringop-overflow)
  if(DROVANA_SANITIZE)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/include_layers_test.cpp
                                ${CMAKE_SOURCE_DIR}/tests/replay_file_test.cpp PROPERTIES
                                COMPILE_OPTIONS -Wno-maybe-uninitialized)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/key_animation_test.cpp PROPERTIES
                                COMPILE_OPTIONS "-Wno-stringop-overflow;-Wno-array-bounds")
  endif()
endif()
