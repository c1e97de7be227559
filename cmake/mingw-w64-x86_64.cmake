# mingw-w64-x86_64.cmake: the toolchain of a build for 64-bit Windows with Debian's MinGW-w64 (the
# posix thread model) on Linux. DROVANA_WINDOWS_DEPS names the prefix that
# scripts/build-windows-deps fills with the libraries cross-built from Debian's sources.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DROVANA_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${DROVANA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DROVANA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${DROVANA_MINGW}-windres)

set(DROVANA_WINDOWS_DEPS "" CACHE PATH "The libraries cross-built for Windows (include/, lib/)")
set(CMAKE_FIND_ROOT_PATH /usr/${DROVANA_MINGW} ${DROVANA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
