#!/usr/bin/env bash
# Builds the browser version of the game on Debian 12 into dist/web/:
# index.html, tumbo.js, tumbo.wasm and tumbo.data (media/ and campaigns/).
# Serve the folder with any static web server, e.g.
#   cd dist/web && python3 -m http.server 8000
#
# The compiler is Debian's emscripten. The libraries (SDL2, libpng, zlib,
# libogg, libvorbis, FreeType) are built for the web from Debian's own source
# packages, fetched with apt-get source through a private apt state under
# build-web/apt. They are installed into build-web/deps and kept there, so a
# second run only rebuilds the game. tumbo-sim is built too
# (build-web/game/tumbo-sim.js), to run the physics under node.
#
#   bash scripts/build-web.sh          # dist/web and tumbo-sim
#   bash scripts/build-web.sh deps     # only the libraries
#
# Safe to run again. Set TUMBO_JOBS to change the build parallelism (2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-web
deps=$out/deps
src=$out/src
jobs=${TUMBO_JOBS:-2}
what=${1:-}

# --- Debian packages ---------------------------------------------------------
packages=(emscripten cmake make pkg-config dpkg-dev fonts-dejavu-core)
bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
# Debian's emcc runs its JavaScript tools with the node on PATH; a node that
# is not Debian's own does not see Debian's node modules without this.
export NODE_PATH=/usr/share/nodejs
# Debian's emscripten keeps its system libraries in /usr/share (frozen); any
# it has to build on first use go to a cache of our own, seeded with those.
export EM_CACHE=$out/emcache
if [ ! -d "$EM_CACHE/sysroot" ]; then
  rm -rf "$EM_CACHE"
  mkdir -p "$EM_CACHE"
  cp -r /usr/share/emscripten/cache/. "$EM_CACHE/"
  rm -f "$EM_CACHE/cache.lock"
fi
export EM_FROZEN_CACHE=0

# --- Source packages, through a private apt state ----------------------------
sources=(zlib libpng1.6 libogg libvorbis freetype libsdl2)
source "$(dirname "$0")/debian-sources.sh"
fetch_debian_sources "$out" "$src" "${sources[@]}"
srcdir() { debian_srcdir "$src" "$1"; }

# --- The libraries, for the web ---------------------------------------------
toolchain=$root/cmake/web.cmake
export TUMBO_WEB_PREFIX=$deps
build_dep() {  # name, then extra CMake arguments
  local name=$1
  shift
  [ -f "$deps/.built-$name" ] && return
  echo "Building $name for the web"
  local b=$out/depbuild/$name t0=$SECONDS
  rm -rf "$b"
  mkdir -p "$out/depbuild"
  cmake -S "$(srcdir "$name")" -B "$b" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DCMAKE_PREFIX_PATH="$deps" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$b.log" 2>&1 || { tail -30 "$b.log"; exit 1; }
  cmake --build "$b" -j"$jobs" >>"$b.log" 2>&1 || { tail -30 "$b.log"; exit 1; }
  cmake --install "$b" >>"$b.log" 2>&1 || { tail -30 "$b.log"; exit 1; }
  echo "  $name: $((SECONDS - t0)) s"
  touch "$deps/.built-$name"
}
mkdir -p "$deps"
# zlib's CMake lists a Windows resource file that Debian's source leaves
# out; it is only named, never compiled, here.
zdir=$(srcdir zlib)
[ -e "$zdir/win32/zlib1.rc" ] || { mkdir -p "$zdir/win32" && : >"$zdir/win32/zlib1.rc"; }
build_dep zlib
# zlib builds its shared library as a second static one; only libz.a is used.
rm -f "$deps"/lib/libz.so* "$deps"/lib/libzlib*
build_dep libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DSKIP_INSTALL_PROGRAMS=ON -DPNG_HARDWARE_OPTIMIZATIONS=OFF
build_dep libogg -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
build_dep libvorbis -DBUILD_TESTING=OFF
build_dep freetype -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_REQUIRE_ZLIB=ON
build_dep libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF
# The game has its own main(): SDL's main() wrapper is left out of what
# pkg-config gives.
sed -i -e 's/ *-Dmain=SDL_main//' -e 's/ *-lSDL2main//' "$deps/lib/pkgconfig/sdl2.pc"

if [ "$what" = deps ]; then exit 0; fi

# --- The game ---------------------------------------------------------------
game=$out/game
cmake -S "$root" -B "$game" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DTUMBO_WEB_PREFIX="$deps" -DTUMBO_TESTS=OFF >"$out/game-configure.log" 2>&1 ||
  { tail -30 "$out/game-configure.log"; exit 1; }
cmake --build "$game" --target tumbo tumbo-sim -j"$jobs"

# --- The page ---------------------------------------------------------------
web=$root/dist/web
rm -rf "$web"
mkdir -p "$web"
cp "$game"/tumbo.html "$web/index.html"
cp "$game"/tumbo.js "$game"/tumbo.wasm "$game"/tumbo.data "$web/"
echo "Built dist/web:"
ls -l "$web"
