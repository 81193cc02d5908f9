# Cross-compiling for Windows x64 with Debian's MinGW-w64 (posix thread model).
# Used for Kavo itself and by scripts/deps for the libraries it builds.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KAVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KAVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${KAVO_MINGW_PREFIX}-windres)
set(CMAKE_AR           ${KAVO_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       ${KAVO_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${KAVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
