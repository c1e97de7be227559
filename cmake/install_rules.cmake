# install_rules.cmake: what `cmake --install` puts where: the game, its data, the launcher,
# the metainfo, the icons and the man page, under the usual freedesktop folders.
include(GNUInstallDirs)

set(DROVANA_APP_ID org.drovana.Drovana)
set(DROVANA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

# The installed game looks for data.pak beside itself, then in PREFIX/share/drovana next to its
# own prefix, then in the folder configured here.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/data_location.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS DROVANA_INSTALLED_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/drovana/")

# The launcher icons are drawn by the data builder beside data.pak.
set(DROVANA_ICON_FILES)
foreach(size 48 128 256)
  list(APPEND DROVANA_ICON_FILES ${CMAKE_BINARY_DIR}/drovana-${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${DROVANA_ICON_FILES}
  COMMAND make-data --icons ${CMAKE_BINARY_DIR}
  DEPENDS make-data
  COMMENT "Drawing the launcher icons")
add_custom_target(icons ALL DEPENDS ${DROVANA_ICON_FILES})

# Man pages are kept compressed, as the distribution's man reader expects.
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/drovana.6.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${DROVANA_PACKAGING_DIR}/drovana.6 > ${CMAKE_BINARY_DIR}/drovana.6.gz
  DEPENDS ${DROVANA_PACKAGING_DIR}/drovana.6
  COMMENT "Compressing the man page")
add_custom_target(man_page ALL DEPENDS ${CMAKE_BINARY_DIR}/drovana.6.gz)

install(TARGETS drovana RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/data.pak DESTINATION ${CMAKE_INSTALL_DATADIR}/drovana)
install(FILES ${DROVANA_PACKAGING_DIR}/${DROVANA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DROVANA_PACKAGING_DIR}/${DROVANA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/drovana-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${DROVANA_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/drovana.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
