#!/usr/bin/env bash
# Installs the Debian packages the game needs (only those missing), then
# configures and builds it in build/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake make pkg-config libsdl2-dev libpng-dev zlib1g-dev libogg-dev libvorbis-dev
  libfreetype-dev libgtest-dev libbenchmark-dev fonts-dejavu-core xvfb xauth xdotool x11-apps imagemagick
  libimgui-dev)
bash scripts/install-packages.sh "${packages[@]}"

build_type=${TUMBO_BUILD_TYPE:-Release}
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" ${TUMBO_CMAKE_ARGS:-} >/dev/null
cmake --build build -j"$(nproc)"
