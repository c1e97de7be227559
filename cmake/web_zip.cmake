# web_zip.cmake: drovana-VERSION-web.zip in the browser build folder, for any static host: one
# folder holding the page (drovana.html, the file to open), its script, wasm and data, the
# manifest and icons, and the service worker, which is what the worker keeps for playing offline
# and nothing else. Made on demand by the web_zip target (make release).
set(zip_name drovana-${PROJECT_VERSION}-web)
set(stage ${CMAKE_BINARY_DIR}/package/${zip_name})
set(zip ${CMAKE_BINARY_DIR}/${zip_name}.zip)
set(zip_files ${WEB_RELEASE_FILES} service-worker.js)
list(TRANSFORM zip_files PREPEND ${CMAKE_BINARY_DIR}/ OUTPUT_VARIABLE zip_sources)

add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${zip}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${zip_sources} ${stage}/
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${zip_name}
  DEPENDS web_worker ${CMAKE_BINARY_DIR}/service-worker.js
  COMMENT "Packing ${zip_name}.zip")
add_custom_target(web_zip DEPENDS ${zip})
