# windows_build.cmake: the build for 64-bit Windows (cmake/mingw-w64-x86_64.cmake): the game, the
# headless driver and the unit tests in one program, everything linked statically so the zip
# holds no DLLs. DROVANA_WINDOWS_DEPS: the libraries scripts/build-windows-deps cross-built.
# DROVANA_NATIVE_BUILD: the native build folder whose data.pak the zip and the tests take.
set(DROVANA_NATIVE_BUILD "" CACHE PATH "The native build folder that holds data.pak")
set(deps ${DROVANA_WINDOWS_DEPS})
if(NOT EXISTS "${deps}/lib/libSDL2.a")
  message(FATAL_ERROR "DROVANA_WINDOWS_DEPS must name the cross-built libraries (make windows does)")
endif()
if(NOT EXISTS "${DROVANA_NATIVE_BUILD}/data.pak")
  message(FATAL_ERROR "DROVANA_NATIVE_BUILD must name a native build holding data.pak")
endif()

include(cmake/warnings.cmake)
# The C and C++ runtimes and winpthread inside each program: nothing to ship beside them.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
# UTF-8 in, wide out: the game's paths are UTF-8 and the Windows files turn them into UTF-16.
# localtime_r: MinGW's time.h gives it to programs that ask for the POSIX thread-safe calls.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                        _POSIX_THREAD_SAFE_FUNCTIONS=200112L)

find_package(SDL2 CONFIG REQUIRED PATHS ${deps} NO_DEFAULT_PATH)
add_library(windows_zlib STATIC IMPORTED)
set_target_properties(windows_zlib PROPERTIES IMPORTED_LOCATION ${deps}/lib/libz.a
                                              INTERFACE_INCLUDE_DIRECTORIES ${deps}/include)
add_library(windows_png STATIC IMPORTED)
set_target_properties(windows_png PROPERTIES IMPORTED_LOCATION ${deps}/lib/libpng.a
                                             INTERFACE_LINK_LIBRARIES windows_zlib)
add_library(windows_jpeg STATIC IMPORTED)
set_target_properties(windows_jpeg PROPERTIES IMPORTED_LOCATION ${deps}/lib/libjpeg.a
                                              INTERFACE_INCLUDE_DIRECTORIES ${deps}/include)

# The desktop's files with a Windows twin, a _windows file that takes their place: the file
# handle (wide paths, binary mode), the save's replace, the folder sync, the program's folder,
# the single instance, the user's data and pictures folders, the console the command line's text
# goes to. Full screen, sound, the message
# boxes and the screenshots are SDL's on both.
set(WINDOWS_REPLACED_FILES platform_file file_replace folder_sync program_folder single_instance
                           user_data_folder pictures_folder console_text)
list(JOIN WINDOWS_REPLACED_FILES "|" replaced)
set(DROVANA_OUTSIDE_LAYERS "(_web|/app/main)\\.cpp$|/platform/(${replaced})\\.cpp$")
include(${CMAKE_SOURCE_DIR}/cmake/layers.cmake)
target_link_libraries(drovana_platform PUBLIC SDL2::SDL2-static windows_png shell32 ole32)
target_link_libraries(drovana_assets PUBLIC windows_jpeg)

# A window program (no console of its own); its manifest asks for UTF-8 as the code page, so
# the C library's file calls take the game's UTF-8 paths as they are.
add_executable(drovana WIN32 ${CMAKE_SOURCE_DIR}/src/app/main.cpp
                             ${CMAKE_SOURCE_DIR}/packaging/windows/drovana.rc)
target_link_libraries(drovana PRIVATE drovana_app)
target_compile_options(drovana PRIVATE ${DROVANA_GAME_WARNINGS})

# The writers and the driver's libraries, as the native build names them for drovana_reach.
drovana_tools_library(drovana_file_writers
  writers/chunk_writer.cpp writers/jpeg_encoder.cpp writers/png_reader.cpp
  writers/png_writer.cpp writers/wav_writer.cpp)
target_link_libraries(drovana_file_writers PUBLIC windows_png windows_jpeg)
drovana_tools_library(drovana_writers
  writers/key_writer.cpp writers/model_writer.cpp writers/pak_writer.cpp)
target_link_libraries(drovana_writers PUBLIC drovana_file_writers drovana_assets)
drovana_tools_library(drovana_scenes scenes/scene_states.cpp)
target_link_libraries(drovana_scenes PUBLIC drovana_view)

# nlohmann/json is headers only: the host's copy, alone in a folder, so no other host header
# comes into the Windows build.
set(host_json ${CMAKE_BINARY_DIR}/host-include)
file(MAKE_DIRECTORY ${host_json})
file(CREATE_LINK /usr/include/nlohmann ${host_json}/nlohmann SYMBOLIC)
add_library(windows_json INTERFACE)
target_include_directories(windows_json SYSTEM INTERFACE ${host_json})

drovana_tools_library(drovana_session session/script_session.cpp)
target_link_libraries(drovana_session PUBLIC drovana_app windows_json)
file(GLOB_RECURSE script_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/drovana-script/*.cpp)
drovana_program(drovana-script ${script_sources})
target_link_libraries(drovana-script PRIVATE windows_json)

include(${CMAKE_SOURCE_DIR}/cmake/windows_tests.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/windows_package.cmake)
