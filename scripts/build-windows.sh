#!/usr/bin/env bash
# Builds the Windows version of the game on Debian 12 and packs it into
# dist/tumbo-windows.zip: tumbo.exe, the DLLs it needs, media/ and campaigns/.
#
# The libraries (SDL2, libpng, zlib, libogg, libvorbis, FreeType) are built
# for Windows with mingw-w64 from Debian's own source packages, fetched with
# apt-get source through a private apt state under build-win/apt (the
# system's apt configuration is not changed). They are installed into
# build-win/deps and kept there, so a second run only rebuilds the game.
#
#   bash scripts/build-windows.sh          # the zip
#   bash scripts/build-windows.sh tests    # also the headless test programs
#
# Safe to run again. Set TUMBO_JOBS to change the build parallelism (2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-win
deps=$out/deps
src=$out/src
jobs=${TUMBO_JOBS:-2}
triple=x86_64-w64-mingw32
want_tests=${1:-}

# --- Debian packages ---------------------------------------------------------
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev cmake make pkg-config dpkg-dev zip fonts-dejavu-core googletest)
bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"

# --- Source packages, through a private apt state ----------------------------
sources=(zlib libpng1.6 libogg libvorbis freetype libsdl2)
source "$(dirname "$0")/debian-sources.sh"
fetch_debian_sources "$out" "$src" "${sources[@]}"
srcdir() { debian_srcdir "$src" "$1"; }

# --- The libraries, for Windows ---------------------------------------------
toolchain=$root/cmake/mingw-w64.cmake
export TUMBO_WIN_PREFIX=$deps
build_dep() {  # name, then extra CMake arguments
  local name=$1
  shift
  [ -f "$deps/.built-$name" ] && return
  echo "Building $name for Windows"
  local b=$out/depbuild/$name
  rm -rf "$b"
  mkdir -p "$out/depbuild"
  cmake -S "$(srcdir "$name")" -B "$b" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DCMAKE_PREFIX_PATH="$deps" \
    -DBUILD_SHARED_LIBS=ON "$@" >"$b.log" 2>&1 || { tail -30 "$b.log"; exit 1; }
  cmake --build "$b" -j"$jobs" >>"$b.log" 2>&1 || { tail -30 "$b.log"; exit 1; }
  cmake --install "$b" >>"$b.log" 2>&1 || { tail -30 "$b.log"; exit 1; }
  touch "$deps/.built-$name"
}
mkdir -p "$deps"
# Debian's zlib source leaves out the win32/ folder; the DLL's version
# resource is written here.
zdir=$(srcdir zlib)
if [ ! -s "$zdir/win32/zlib1.rc" ]; then
  mkdir -p "$zdir/win32"
  cat >"$zdir/win32/zlib1.rc" <<'RC'
1 VERSIONINFO
FILEVERSION 1,2,13,0
PRODUCTVERSION 1,2,13,0
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904E4"
    BEGIN
      VALUE "FileDescription", "zlib data compression library"
      VALUE "ProductName", "zlib"
    END
  END
END
RC
fi
build_dep zlib
build_dep libpng1.6 -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON
# The .def files name the DLLs "ogg.dll" (and libvorbis's a bare LIBRARY,
# which GNU ld refuses): without the line, programs import the DLLs by the
# names they are built with.
sed -i '/^LIBRARY\b/d' "$(srcdir libogg)"/win32/*.def "$(srcdir libvorbis)"/win32/*.def
build_dep libogg -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
build_dep libvorbis -DBUILD_TESTING=OFF
build_dep freetype -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_REQUIRE_ZLIB=ON
build_dep libsdl2 -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
# The game has its own main(): SDL's main() wrapper (and the GUI-only link
# flag, which only the game itself takes) are left out of what pkg-config
# gives, so the test programs stay console programs.
sed -i -e 's/ *-Dmain=SDL_main//' -e 's/ *-lSDL2main//' -e 's/ *-mwindows//' "$deps/lib/pkgconfig/sdl2.pc"

if [ "$want_tests" = deps ]; then exit 0; fi

# --- GoogleTest, for the test programs ---------------------------------------
if [ "$want_tests" = tests ] && [ ! -f "$deps/.built-googletest" ]; then
  echo "Building GoogleTest for Windows"
  b=$out/depbuild/googletest
  cmake -S /usr/src/googletest -B "$b" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >"$b.log" 2>&1
  cmake --build "$b" -j"$jobs" >>"$b.log" 2>&1 && cmake --install "$b" >>"$b.log" 2>&1
  touch "$deps/.built-googletest"
fi

# --- The game ---------------------------------------------------------------
game=$out/game
test_args=(-DTUMBO_TESTS=OFF)
if [ "$want_tests" = tests ]; then
  # Tests are listed when CTest runs them (under wine), not after the build.
  # Tests that reach into Linux itself (file flags, the C library's
  # backtraces) stay out; the POSIX calls the others use come from a shim.
  test_args=(-DTUMBO_TESTS=ON -DTUMBO_BENCH=OFF -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST
    "-DTUMBO_TESTS_EXCLUDE=/(level_file_test|alloc_test)\\.cpp$"
    "-DCMAKE_CXX_FLAGS=-include $root/cmake/wincompat/posix.h")
fi
cmake -S "$root" -B "$game" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DTUMBO_WIN_PREFIX="$deps" "${test_args[@]}" >"$out/game-configure.log" 2>&1 ||
  { tail -30 "$out/game-configure.log"; exit 1; }
cmake --build "$game" --target tumbo -j"$jobs"
if [ "$want_tests" = tests ]; then
  cmake --build "$game" --target test_world test_play test_platform tumbo-sim -j"$jobs"
fi

# --- The zip ----------------------------------------------------------------
# The DLLs tumbo.exe needs, followed through their own imports; those that
# Windows itself provides are not found in either folder and are skipped.
dll_dirs=("$deps/bin" "$(dirname "$("$triple-g++-posix" -print-libgcc-file-name)")" "/usr/$triple/lib")
find_dll() {
  for d in "${dll_dirs[@]}"; do
    local f
    f=$(find "$d" -maxdepth 1 -iname "$1" -print -quit 2>/dev/null)
    [ -n "$f" ] && { echo "$f"; return 0; }
  done
  return 0
}
stage=$out/stage/tumbo
rm -rf "$out/stage"
mkdir -p "$stage"
cp "$game/tumbo.exe" "$stage/"
"$triple-strip" "$stage/tumbo.exe"
todo=("$stage/tumbo.exe")
while [ ${#todo[@]} -gt 0 ]; do
  f=${todo[0]}
  todo=("${todo[@]:1}")
  for dll in $("$triple-objdump" -p "$f" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$stage/$dll" ] && continue
    path=$(find_dll "$dll")
    [ -n "$path" ] || continue
    cp "$path" "$stage/$dll"
    todo+=("$stage/$dll")
  done
done
cp -r media campaigns "$stage/"
cp README.md "$stage/README.txt"
mkdir -p dist
rm -f dist/tumbo-windows.zip
(cd "$out/stage" && zip -qr "$root/dist/tumbo-windows.zip" tumbo)
echo "Built dist/tumbo-windows.zip:"
ls "$stage"
