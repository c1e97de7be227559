# web_worker.cmake: writes the browser build's service worker, run by the build (cmake -P) once
# the release's files are made, and by the browser test on a changed copy of them.
# WEB_DIR: the folder with the release's files, where service-worker.js is written.
# TEMPLATE: web/service-worker.js. FILES: the names of the files the worker keeps, by commas.
# The release is named by a hash of every file and of the worker's own code: a change anywhere
# is a new cache, an unchanged build leaves the worker, and so the browser's cache, as it was.
foreach(variable WEB_DIR TEMPLATE FILES)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "web_worker.cmake needs -D${variable}=...")
  endif()
endforeach()

string(REPLACE "," ";" FILES "${FILES}")
file(SHA256 ${TEMPLATE} summary)
set(DROVANA_FILES)
foreach(name ${FILES})
  file(SHA256 ${WEB_DIR}/${name} sha256)
  string(APPEND summary "\n${name} ${sha256}")
  list(APPEND DROVANA_FILES "  { name: '${name}', sha256: '${sha256}' },")
endforeach()
list(JOIN DROVANA_FILES "\n" DROVANA_FILES)
string(SHA256 release "${summary}")
# 64 bits of the hash tell releases apart and keep the cache's name short.
string(SUBSTRING ${release} 0 16 DROVANA_RELEASE)
configure_file(${TEMPLATE} ${WEB_DIR}/service-worker.js @ONLY)
# Unchanged, the file keeps its bytes (so browsers keep their cache) but is marked as made.
file(TOUCH ${WEB_DIR}/service-worker.js)
