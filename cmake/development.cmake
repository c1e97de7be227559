# development.cmake: what only developers build (DROVANA_TESTS): the tools beside the data
# builder, the unit, end-to-end, window and release tests, the benchmarks and the fuzz targets.
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(nlohmann_json 3 REQUIRED)

# Fixed game states played from a seed and drawn as the game draws them: shared by
# render-scene, the golden-image tests and the benchmarks, never linked into the game.
drovana_tools_library(drovana_scenes scenes/scene_states.cpp)
target_link_libraries(drovana_scenes PUBLIC drovana_view)

# The real game on the headless platform with a scripted clock: shared by the driver
# (drovana-script) and the scripted person (drovana-person).
drovana_tools_library(drovana_session session/script_session.cpp)
target_link_libraries(drovana_session PUBLIC drovana_app nlohmann_json::nlohmann_json)

foreach(name drovana-sim render-scene drovana-script drovana-person)
  drovana_tool(${name})
endforeach()
foreach(name drovana-sim drovana-script drovana-person)
  target_link_libraries(${name} PRIVATE nlohmann_json::nlohmann_json)
endforeach()

enable_testing()
include(cmake/unit_tests.cmake)

# End-to-end tests: scripts played by drovana-script on the real data.pak, checked from outside.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
drovana_program(drovana_e2e ${E2E_SOURCES})
target_include_directories(drovana_e2e PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(drovana_e2e PRIVATE GTest::gtest GTest::gtest_main
                                          nlohmann_json::nlohmann_json)
target_compile_definitions(drovana_e2e PRIVATE DROVANA_BUILD_DIR="${CMAKE_BINARY_DIR}"
                                               DROVANA_E2E_DIR="${CMAKE_SOURCE_DIR}/tests/e2e")
add_dependencies(drovana_e2e drovana-script drovana-person data)
gtest_discover_tests(drovana_e2e WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60
                     PROPERTIES TIMEOUT 300)

# The real game in a virtual X display, tapped through its window; skipped (77) only where no
# virtual display can be started.
drovana_program(window-shot ${CMAKE_SOURCE_DIR}/tests/window/window_shot.cpp)
add_test(NAME window_smoke
         COMMAND ${CMAKE_SOURCE_DIR}/tests/window/window_smoke.sh ${CMAKE_BINARY_DIR})
add_test(NAME window_fullscreen
         COMMAND ${CMAKE_SOURCE_DIR}/tests/window/window_fullscreen.sh ${CMAKE_BINARY_DIR})
add_test(NAME window_replay
         COMMAND ${CMAKE_SOURCE_DIR}/tests/window/window_replay.sh ${CMAKE_BINARY_DIR})
# A whole match in the window plays on a faster clock, preloaded into the game. Never
# instrumented: it loads before the sanitizers' runtime could.
add_library(window-fast-clock MODULE ${CMAKE_SOURCE_DIR}/tests/window/fast_clock.cpp)
set_target_properties(window-fast-clock PROPERTIES PREFIX "")
target_compile_options(window-fast-clock PRIVATE -fno-sanitize=all)
target_link_options(window-fast-clock PRIVATE -fno-sanitize=all)
target_link_libraries(window-fast-clock PRIVATE ${CMAKE_DL_LIBS})
add_test(NAME window_after_match
         COMMAND ${CMAKE_SOURCE_DIR}/tests/window/window_after_match.sh ${CMAKE_BINARY_DIR})
# The X tests start virtual displays and real windows; one at a time keeps them from slowing
# each other past their waits.
set_tests_properties(window_smoke window_fullscreen window_replay window_after_match PROPERTIES
                     SKIP_RETURN_CODE 77 TIMEOUT 300 RESOURCE_LOCK virtual_display)

include(cmake/release_tests.cmake)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
drovana_program(drovana_bench ${BENCH_SOURCES})
target_include_directories(drovana_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(drovana_bench PRIVATE benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(drovana_bench PRIVATE DROVANA_BUILD_DIR="${CMAKE_BINARY_DIR}")

if(DROVANA_FUZZ)
  set(DROVANA_FUZZ_DATA "${CMAKE_BINARY_DIR}/data.pak" CACHE FILEPATH
      "The built data.pak the seeds and the animation target's model come from")
  set(fuzz_input ${CMAKE_SOURCE_DIR}/fuzz/fuzz_input.cpp)
  drovana_reach(${fuzz_input} fuzz_layer fuzz_helpers fuzz_libraries)
  add_library(drovana_fuzz_input STATIC ${fuzz_input})
  target_include_directories(drovana_fuzz_input PUBLIC ${CMAKE_SOURCE_DIR}/fuzz)
  target_link_libraries(drovana_fuzz_input PUBLIC ${fuzz_libraries} drovana_${fuzz_layer})
  target_compile_definitions(drovana_fuzz_input PRIVATE DROVANA_DATA_PAK="${DROVANA_FUZZ_DATA}")
  drovana_program(make-fuzz-seeds ${CMAKE_SOURCE_DIR}/fuzz/make_fuzz_seeds.cpp)
  add_custom_target(fuzz_targets DEPENDS make-fuzz-seeds)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
  list(REMOVE_ITEM FUZZ_SOURCES ${CMAKE_SOURCE_DIR}/fuzz/fuzz_input.cpp)
  foreach(source ${FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    drovana_program(${name} ${source})
    target_link_libraries(${name} PRIVATE drovana_fuzz_input)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_targets ${name})
  endforeach()
endif()
