# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix
# thread model, which std::thread and std::mutex need).
#
# TUMBO_WIN_PREFIX names the folder the Windows builds of the libraries were
# installed into (scripts/build-windows.sh builds them); pkg-config and the
# find_* commands look only there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TUMBO_WIN_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TUMBO_WIN_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TUMBO_WIN_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TUMBO_WIN_TRIPLE}-windres)
set(CMAKE_AR ${TUMBO_WIN_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TUMBO_WIN_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT TUMBO_WIN_PREFIX)
  set(TUMBO_WIN_PREFIX "$ENV{TUMBO_WIN_PREFIX}")
endif()
# Seen again by try_compile projects.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TUMBO_WIN_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${TUMBO_WIN_TRIPLE} ${TUMBO_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(TUMBO_WIN_PREFIX)
  # Only the Windows libraries' .pc files, never the host's.
  set(ENV{PKG_CONFIG_LIBDIR} "${TUMBO_WIN_PREFIX}/lib/pkgconfig:${TUMBO_WIN_PREFIX}/share/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# Programs built here run under wine when CTest or a script runs them.
find_program(TUMBO_WINE NAMES wine wine64)
if(TUMBO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TUMBO_WINE})
endif()
