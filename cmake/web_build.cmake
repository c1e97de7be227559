# web_build.cmake: the browser build (configured with emcmake): the game as a page, .js, .wasm and
# its preloaded data, and the unit tests that need no window, run under node.
# DROVANA_WEB_JPEG: libjpeg-turbo built for WebAssembly (include/ and lib/, scripts/install-deps).
# DROVANA_NATIVE_BUILD: the native build folder whose data.pak the page preloads and tests read.
set(DROVANA_WEB_JPEG "" CACHE PATH "libjpeg-turbo built for WebAssembly")
set(DROVANA_NATIVE_BUILD "" CACHE PATH "The native build folder that holds data.pak")
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

add_library(web_jpeg STATIC IMPORTED)
set_target_properties(web_jpeg PROPERTIES IMPORTED_LOCATION ${DROVANA_WEB_JPEG}/lib/libjpeg.a
                                          INTERFACE_INCLUDE_DIRECTORIES ${DROVANA_WEB_JPEG}/include)

# Everything under src/ but the desktop's entry and the SDL files, whose places the _web files
# take (platform, sound device, fatal error message, and the folder sync in browser storage).
file(GLOB_RECURSE CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER CORE_SOURCES EXCLUDE REGEX
     "/src/(app/main|app/main_web|platform/(platform_sdl|fullscreen_sdl|sound_device_sdl|frame_pacing|error_report|command_line|screenshot|single_instance|folder_sync))\\.cpp$")
add_library(drovana_core STATIC ${CORE_SOURCES})
target_include_directories(drovana_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(drovana_core PUBLIC web_jpeg)

# The page: drovana.html from web/shell.html, with drovana.js, drovana.wasm and drovana.data
# (data.pak, fetched and placed at /data.pak before the game starts).
add_executable(drovana ${CMAKE_SOURCE_DIR}/src/app/main_web.cpp)
set_target_properties(drovana PROPERTIES SUFFIX ".html")
target_link_libraries(drovana PRIVATE drovana_core)
# MINIFY_HTML=0: Debian's emscripten comes without the HTML minifier.
target_link_options(drovana PRIVATE -sENVIRONMENT=web -sMINIFY_HTML=0 -lidbfs.js
                    --shell-file ${CMAKE_SOURCE_DIR}/web/shell.html
                    --preload-file ${DROVANA_NATIVE_BUILD}/data.pak@/data.pak)
set_property(TARGET drovana APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/shell.html
                                                         ${DROVANA_NATIVE_BUILD}/data.pak)

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

# Unit tests under node: the suites that need neither SDL nor the tools' file writers, chosen
# by file. NODERAWFS gives them the real file system: the native build's data.pak, temp folders.
set(WEB_TEST_FILES
    game_random_test fixed_point_test shell_test ball_test scoring_test rules_test strokes_test
    computer_test players_test player_profile_test profile_store_test ladders_test
    keyboard_layout_test screen_tables_test hud_text_test bulk_memory_test depth_tested_fill_test
    camera_test data_pak_test court_pictures_test game_app_test wav_image_test state_hash_test
    replay_file_test replay_playback_test)
set(WEB_TEST_SOURCES ${CMAKE_SOURCE_DIR}/tests/temp_dir.cpp ${CMAKE_SOURCE_DIR}/tests/built_data.cpp)
foreach(name ${WEB_TEST_FILES})
  list(APPEND WEB_TEST_SOURCES ${CMAKE_SOURCE_DIR}/tests/${name}.cpp)
endforeach()
set(GTEST_DIR /usr/src/googletest/googletest)
add_library(web_gtest STATIC ${GTEST_DIR}/src/gtest-all.cc ${GTEST_DIR}/src/gtest_main.cc)
target_include_directories(web_gtest PUBLIC ${GTEST_DIR}/include PRIVATE ${GTEST_DIR})
add_executable(drovana_web_tests ${WEB_TEST_SOURCES})
target_include_directories(drovana_web_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(drovana_web_tests PRIVATE drovana_core web_gtest)
target_compile_definitions(drovana_web_tests PRIVATE DROVANA_BUILD_DIR="${DROVANA_NATIVE_BUILD}"
                                                     DROVANA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_options(drovana_web_tests PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1)

enable_testing()
# Node 20's fetch cannot load the .wasm from a file path; its older loader can.
# A file-size limit (setrlimit) is the one thing the tests use that node's file system lacks.
add_test(NAME web_unit_tests
         COMMAND node --no-experimental-fetch
                 $<TARGET_FILE_DIR:drovana_web_tests>/drovana_web_tests.js
                 --gtest_filter=-PlayersFile.FailedWriteLeavesTheOldFile:ReplayFolder.AFailedWrite*)
