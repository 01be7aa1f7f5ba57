#!/usr/bin/env bash
# Installs the Debian packages the game needs (only those missing), then
# configures and builds it in build/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake make pkg-config libsdl2-dev libpng-dev zlib1g-dev libogg-dev libvorbis-dev
  libfreetype-dev libgtest-dev libbenchmark-dev fonts-dejavu-core xvfb xauth xdotool x11-apps imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_type=${TUMBO_BUILD_TYPE:-Release}
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" ${TUMBO_CMAKE_ARGS:-} >/dev/null
cmake --build build -j"$(nproc)"
