# windows_package.cmake: the zip a Windows player unpacks, drovana-VERSION-windows-x86_64.zip in
# the build folder: one folder holding drovana.exe, data.pak, README.txt and licences/ (the
# copyright files of the libraries built in, from their Debian sources and the MinGW-w64
# packages).
set(zip_name drovana-${PROJECT_VERSION}-windows-x86_64)
set(stage ${CMAKE_BINARY_DIR}/package/${zip_name})
set(zip ${CMAKE_BINARY_DIR}/${zip_name}.zip)
set(VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)

# The runtime linked statically: GCC's (libgcc, libstdc++) and MinGW-w64's with winpthreads.
set(gcc_licence /usr/share/doc/gcc-mingw-w64-base/copyright)
set(mingw_licence /usr/share/doc/mingw-w64-common/copyright)

add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${zip}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/licences
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:drovana> ${CMAKE_BINARY_DIR}/data.pak
          ${CMAKE_BINARY_DIR}/README.txt ${stage}/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${DROVANA_WINDOWS_DEPS}/licences ${stage}/licences
  COMMAND ${CMAKE_COMMAND} -E copy ${gcc_licence} ${stage}/licences/gcc-runtime.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${mingw_licence} ${stage}/licences/mingw-w64-runtime.txt
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${zip_name}
  DEPENDS drovana windows_data ${CMAKE_BINARY_DIR}/README.txt
  COMMENT "Packing ${zip_name}.zip")
add_custom_target(windows_zip ALL DEPENDS ${zip})
