# web_build.cmake: the browser build (configured with emcmake): the game as a page, .js, .wasm and
# its preloaded data, with the service worker that keeps them for playing offline, and the unit
# tests, all but those that need the desktop, run under node.
# DROVANA_WEB_JPEG: libjpeg-turbo built for WebAssembly (include/ and lib/, scripts/install-deps).
# DROVANA_NATIVE_BUILD: the native build folder whose data.pak the page preloads and tests read.
# DROVANA_WEB_SIMD: on, the SIMD wasm (the vector paths on 128-bit WebAssembly SIMD), the page,
# its worker and the unit tests; off, only the scalar wasm for browsers without SIMD,
# drovana-scalar.js and .wasm, which the SIMD build's DROVANA_WEB_SCALAR_BUILD names (make web
# builds it first, in scalar/).
set(DROVANA_WEB_JPEG "" CACHE PATH "libjpeg-turbo built for WebAssembly")
set(DROVANA_NATIVE_BUILD "" CACHE PATH "The native build folder that holds data.pak")
option(DROVANA_WEB_SIMD "The SIMD wasm with the page; off, the scalar wasm alone" ON)
set(DROVANA_WEB_SCALAR_BUILD "" CACHE PATH "The scalar wasm's build folder (DROVANA_WEB_SIMD=OFF)")
# For profiling in the browser: the game's wasm keeps its functions' names.
option(DROVANA_WEB_PROFILING "Link the game with --profiling-funcs" OFF)
if(NOT EXISTS "${DROVANA_WEB_JPEG}/lib/libjpeg.a")
  message(FATAL_ERROR "DROVANA_WEB_JPEG must name libjpeg built for WebAssembly (make web does)")
endif()
if(NOT EXISTS "${DROVANA_NATIVE_BUILD}/data.pak")
  message(FATAL_ERROR "DROVANA_NATIVE_BUILD must name a native build holding data.pak")
endif()

# The game throws FileError through its own frames only (libjpeg's errors come back by longjmp),
# and the tests expect throws: exceptions stay on.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)
# SSE up to 4.2 is what Emscripten translates and the vector paths use (core/vector_instructions.h).
if(DROVANA_WEB_SIMD)
  # Bulk memory (memory.copy and memory.fill for the library's copies and fills) came to every
  # browser before SIMD did.
  add_compile_options(-msimd128 -msse4.2 -mbulk-memory)
  add_link_options(-msimd128 -mbulk-memory)
  if(NOT EXISTS "${DROVANA_WEB_SCALAR_BUILD}/drovana-scalar.wasm")
    message(FATAL_ERROR "DROVANA_WEB_SCALAR_BUILD must name the scalar wasm's build (make web does)")
  endif()
endif()

add_library(web_jpeg STATIC IMPORTED)
set_target_properties(web_jpeg PROPERTIES IMPORTED_LOCATION ${DROVANA_WEB_JPEG}/lib/libjpeg.a
                                          INTERFACE_INCLUDE_DIRECTORIES ${DROVANA_WEB_JPEG}/include)

# The desktop's files that the browser build leaves out. Those with a browser twin, a _web file
# that takes its place: the platform, the sound device, the fatal error message and the folder
# sync (browser storage).
set(WEB_REPLACED_FILES platform_sdl sound_device_sdl error_report folder_sync)
# Those with none: a test that includes one of their headers, or SDL, runs on the desktop only.
set(WEB_MISSING_FILES fullscreen_sdl frame_pacing command_line screenshot pictures_folder
                      single_instance)
list(JOIN WEB_REPLACED_FILES "|" replaced)
list(JOIN WEB_MISSING_FILES "|" missing)
# A library per layer as on the desktop, each file's place decided by the same rule; the browser's
# entry point, like the desktop's, is outside them.
set(DROVANA_OUTSIDE_LAYERS "/src/(app/main(_web)?|platform/(${replaced}|${missing}))\\.cpp$|_windows\\.cpp$")
include(${CMAKE_SOURCE_DIR}/cmake/layers.cmake)
target_link_libraries(drovana_assets PUBLIC web_jpeg)

# The page: drovana.html from web/shell.html, with drovana.js, drovana.wasm and drovana.data
# (data.pak, fetched and placed at /data.pak before the game starts).
add_executable(drovana ${CMAKE_SOURCE_DIR}/src/app/main_web.cpp)
set_target_properties(drovana PROPERTIES SUFFIX ".html")
target_link_libraries(drovana PRIVATE drovana_app)
# MINIFY_HTML=0: Debian's emscripten comes without the HTML minifier.
target_link_options(drovana PRIVATE -sENVIRONMENT=web -sMINIFY_HTML=0 -lidbfs.js
                    --shell-file ${CMAKE_SOURCE_DIR}/web/shell.html
                    --preload-file ${DROVANA_NATIVE_BUILD}/data.pak@/data.pak)
if(DROVANA_WEB_PROFILING)
  target_link_options(drovana PRIVATE --profiling-funcs)
endif()
set_property(TARGET drovana APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/shell.html
                                                         ${DROVANA_NATIVE_BUILD}/data.pak)
# The scalar wasm is only its script and wasm: the page and the data are the SIMD build's (the
# page points the script at drovana.data, the same bytes).
if(NOT DROVANA_WEB_SIMD)
  set_target_properties(drovana PROPERTIES OUTPUT_NAME drovana-scalar)
  return()
endif()
set(WEB_SCALAR_FILES ${CMAKE_BINARY_DIR}/drovana-scalar.js ${CMAKE_BINARY_DIR}/drovana-scalar.wasm)
add_custom_command(
  OUTPUT ${WEB_SCALAR_FILES}
  COMMAND ${CMAKE_COMMAND} -E copy ${DROVANA_WEB_SCALAR_BUILD}/drovana-scalar.js
          ${DROVANA_WEB_SCALAR_BUILD}/drovana-scalar.wasm ${CMAKE_BINARY_DIR}
  DEPENDS ${DROVANA_WEB_SCALAR_BUILD}/drovana-scalar.js ${DROVANA_WEB_SCALAR_BUILD}/drovana-scalar.wasm
  COMMENT "Copying the scalar wasm")
add_custom_target(web_scalar ALL DEPENDS ${WEB_SCALAR_FILES})

# The page's other files: the web app manifest, and icons drawn by the native data builder.
set(WEB_FILES)
foreach(file manifest.webmanifest)
  configure_file(${CMAKE_SOURCE_DIR}/web/${file} ${CMAKE_BINARY_DIR}/${file} COPYONLY)
endforeach()
foreach(size 192 512)
  list(APPEND WEB_FILES ${CMAKE_BINARY_DIR}/drovana-${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${WEB_FILES}
  COMMAND ${DROVANA_NATIVE_BUILD}/make-data --web-icons ${CMAKE_BINARY_DIR}
  DEPENDS ${DROVANA_NATIVE_BUILD}/make-data
  COMMENT "Drawing the web app icons")
add_custom_target(web_icons ALL DEPENDS ${WEB_FILES})

# The service worker that keeps all of the above for playing offline, named by their hashes: it
# is written again whenever one of them changes (cmake/web_worker.cmake).
set(WEB_RELEASE_FILES drovana.html drovana.js drovana.wasm drovana-scalar.js drovana-scalar.wasm
                      drovana.data manifest.webmanifest drovana-192.png drovana-512.png)
list(JOIN WEB_RELEASE_FILES "," release_files)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/service-worker.js
  COMMAND ${CMAKE_COMMAND} -DWEB_DIR=${CMAKE_BINARY_DIR}
          -DTEMPLATE=${CMAKE_SOURCE_DIR}/web/service-worker.js -DFILES=${release_files}
          -P ${CMAKE_SOURCE_DIR}/cmake/web_worker.cmake
  DEPENDS drovana ${WEB_FILES} ${WEB_SCALAR_FILES} ${CMAKE_BINARY_DIR}/manifest.webmanifest
          ${CMAKE_SOURCE_DIR}/web/service-worker.js ${CMAKE_SOURCE_DIR}/cmake/web_worker.cmake
  COMMENT "Writing the service worker")
add_custom_target(web_worker ALL DEPENDS ${CMAKE_BINARY_DIR}/service-worker.js)
include(${CMAKE_SOURCE_DIR}/cmake/web_zip.cmake)

# The tools' libraries the tests use, by the native build's names so that drovana_reach finds
# them, without the PNG files: the browser build has no libpng. The tests that write pictures
# for people to look at write none there, and the golden test reads the committed pictures
# converted to PPM; a new test that needs PNG files fails to link here: name it below.
drovana_tools_library(drovana_file_writers
  writers/chunk_writer.cpp writers/jpeg_encoder.cpp writers/wav_writer.cpp)
target_link_libraries(drovana_file_writers PUBLIC web_jpeg)
drovana_tools_library(drovana_writers
  writers/key_writer.cpp writers/model_writer.cpp writers/pak_writer.cpp)
target_link_libraries(drovana_writers PUBLIC drovana_file_writers drovana_assets)
drovana_tools_library(drovana_scenes scenes/scene_states.cpp)
target_link_libraries(drovana_scenes PUBLIC drovana_view)

file(GLOB GOLDEN_PNGS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/golden/*.png)
set(GOLDEN_PPMS)
foreach(png ${GOLDEN_PNGS})
  get_filename_component(name ${png} NAME_WE)
  list(APPEND GOLDEN_PPMS ${CMAKE_BINARY_DIR}/golden/${name}.ppm)
endforeach()
add_custom_command(
  OUTPUT ${GOLDEN_PPMS}
  COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/golden-to-ppm ${CMAKE_BINARY_DIR}/golden ${GOLDEN_PNGS}
  DEPENDS ${GOLDEN_PNGS} ${CMAKE_SOURCE_DIR}/scripts/golden-to-ppm
  COMMENT "Converting the golden pictures to PPM")
add_custom_target(web_goldens DEPENDS ${GOLDEN_PPMS})

# Unit tests under node, one program: every tests/*_test.cpp with the helpers and the tools'
# libraries it reaches, as the native build finds them, unless it includes SDL or a header of
# the desktop-only files above, or reaches a tools' library not built here; configuring says
# which and why. Left out by name besides:
set(WEB_LEFT_OUT_TESTS
    # runs the native build's data builder program: nothing of the browser build is in it
    data_builder_test
    # kills a forked child in the middle of a save, and node has no fork
    save_crash_test)
set(lacking "^[ \t]*#[ \t]*include[ \t]*[<\"](SDL\\.h|platform/(${missing})\\.h)[>\"]")
file(GLOB WEB_TEST_CANDIDATES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
set(WEB_TEST_SOURCES)
set(WEB_TEST_LIBRARIES)
foreach(source ${WEB_TEST_CANDIDATES})
  get_filename_component(name ${source} NAME_WE)
  drovana_reach(${source} layer helpers libraries)
  file(STRINGS ${source} lacked REGEX "${lacking}")
  foreach(library ${libraries})
    if(NOT TARGET ${library})
      list(APPEND lacked ${library})
    endif()
  endforeach()
  if(name IN_LIST WEB_LEFT_OUT_TESTS)
    continue()
  elseif(lacked)
    list(TRANSFORM lacked REPLACE "^[^<\"]*[<\"]([^>\"]+).*$" "\\1")
    message(STATUS "${name} runs on the desktop only: it needs ${lacked}")
    continue()
  endif()
  list(APPEND WEB_TEST_SOURCES ${source} ${helpers})
  list(APPEND WEB_TEST_LIBRARIES ${libraries})
endforeach()
list(REMOVE_DUPLICATES WEB_TEST_SOURCES)
list(REMOVE_DUPLICATES WEB_TEST_LIBRARIES)

set(GTEST_DIR /usr/src/googletest/googletest)
add_library(web_gtest STATIC ${GTEST_DIR}/src/gtest-all.cc ${GTEST_DIR}/src/gtest_main.cc)
target_include_directories(web_gtest PUBLIC ${GTEST_DIR}/include PRIVATE ${GTEST_DIR})
add_executable(drovana_web_tests ${WEB_TEST_SOURCES})
target_include_directories(drovana_web_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(drovana_web_tests PRIVATE ${WEB_TEST_LIBRARIES} drovana_app web_gtest)
target_compile_definitions(drovana_web_tests PRIVATE DROVANA_BUILD_DIR="${DROVANA_NATIVE_BUILD}"
                                                     DROVANA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                                     DROVANA_GOLDEN_PPM_DIR="${CMAKE_BINARY_DIR}/golden")
add_dependencies(drovana_web_tests web_goldens)
# NODERAWFS gives them the real file system: the native build's data.pak, temp folders. The
# pre-js hands them node's DROVANA_NO_AVX2, which the browser's environment never has.
target_link_options(drovana_web_tests PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
                    --pre-js ${CMAKE_SOURCE_DIR}/tests/web/node_environment.js)
set_property(TARGET drovana_web_tests APPEND PROPERTY LINK_DEPENDS
                                                      ${CMAKE_SOURCE_DIR}/tests/web/node_environment.js)

enable_testing()
# Node 20's fetch cannot load the .wasm from a file path; its older loader can.
# One test that runs here needs a file-size limit (setrlimit), which node's file system lacks.
set(web_unit_tests node --no-experimental-fetch
    $<TARGET_FILE_DIR:drovana_web_tests>/drovana_web_tests.js)
add_test(NAME web_unit_tests
         COMMAND ${web_unit_tests}
                 --gtest_filter=-PlayersFile.FailedWriteLeavesTheOldFile:ReplayFolder.AFailedWrite*)
# The tests run on the eight-lane paths; the ones that draw run again on the four-lane and scalar
# paths, which are what the scalar wasm runs (bar the four-lane fills), for a few seconds instead
# of a second test program's build.
set(WEB_DRAWING_TESTS *SceneGolden* Rasteriser* Primitives* *Fill* TriangleGroups* VertexTransform*
                      ScreenRenderTest* MatchSceneTest* CourtPictures* ScreenArt* FaceBlend*
                      HudTextFixture* BulkMemory* FrameBufferFixture*)
list(JOIN WEB_DRAWING_TESTS ":" drawing_tests)
add_test(NAME web_unit_tests_without_eight_lanes
         COMMAND ${web_unit_tests} --gtest_filter=${drawing_tests})
set_tests_properties(web_unit_tests_without_eight_lanes PROPERTIES ENVIRONMENT DROVANA_NO_AVX2=1)
