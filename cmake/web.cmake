# Building for the browser with Debian's emscripten: its own toolchain file,
# with the web builds of the libraries that scripts/build-web.sh installs
# into TUMBO_WEB_PREFIX, where pkg-config and the find_* commands look.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

if(NOT TUMBO_WEB_PREFIX)
  set(TUMBO_WEB_PREFIX "$ENV{TUMBO_WEB_PREFIX}")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TUMBO_WEB_PREFIX)

if(TUMBO_WEB_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TUMBO_WEB_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH ${TUMBO_WEB_PREFIX})
  # Only the web libraries' .pc files, never the host's.
  set(ENV{PKG_CONFIG_LIBDIR} "${TUMBO_WEB_PREFIX}/lib/pkgconfig:${TUMBO_WEB_PREFIX}/share/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# Programs built here run under node (which fetches nothing over the network).
find_program(TUMBO_NODE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${TUMBO_NODE};--no-experimental-fetch" CACHE STRING "" FORCE)
