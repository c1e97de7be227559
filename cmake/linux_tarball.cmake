# linux_tarball.cmake: drovana-VERSION-linux-ARCH.tar.gz in the build folder, one folder that runs
# from wherever it is unpacked (the game looks for data.pak beside itself first): the game,
# data.pak, the launcher, the icons laid out as in a freedesktop icon theme, the man page and a
# README naming the libraries the game needs from the system. Made on demand by the
# linux_tarball target (make release, the release tests), not by every build.
set(DROVANA_TARBALL_NAME drovana-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(stage ${package_dir}/${DROVANA_TARBALL_NAME})
set(tarball ${CMAKE_BINARY_DIR}/${DROVANA_TARBALL_NAME}.tar.gz)
set(VERSION ${PROJECT_VERSION})
configure_file(${DROVANA_PACKAGING_DIR}/linux/README.txt ${package_dir}/README.txt @ONLY)

set(icon_commands)
foreach(size 48 128 256)
  set(apps ${stage}/icons/hicolor/${size}x${size}/apps)
  list(APPEND icon_commands
       COMMAND ${CMAKE_COMMAND} -E make_directory ${apps}
       COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/drovana-${size}.png ${apps}/${DROVANA_APP_ID}.png)
endforeach()

find_program(TAR_PROGRAM tar REQUIRED)
# Owned by root and readable by all, in name order: the archive says nothing of who built it.
add_custom_command(
  OUTPUT ${tarball}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${tarball}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_STRIP} -o ${stage}/drovana $<TARGET_FILE:drovana>
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/data.pak ${package_dir}/README.txt
          ${DROVANA_PACKAGING_DIR}/drovana.6 ${DROVANA_PACKAGING_DIR}/${DROVANA_APP_ID}.desktop
          ${stage}/
  ${icon_commands}
  COMMAND ${TAR_PROGRAM} -C ${package_dir} -czf ${tarball} --sort=name --owner=0 --group=0
          --numeric-owner --mode=u+w,go-w,a+rX ${DROVANA_TARBALL_NAME}
  DEPENDS drovana ${CMAKE_BINARY_DIR}/data.pak ${DROVANA_ICON_FILES} ${package_dir}/README.txt
          ${DROVANA_PACKAGING_DIR}/drovana.6 ${DROVANA_PACKAGING_DIR}/${DROVANA_APP_ID}.desktop
  COMMENT "Packing ${DROVANA_TARBALL_NAME}.tar.gz")
add_custom_target(linux_tarball DEPENDS ${tarball})
