#!/usr/bin/env bash
# Builds the Debian package dist/tumbo_VERSION_amd64.deb: the game built in
# build-deb/, installed under /usr into a staging folder, its dependencies
# found from the binaries by dpkg-shlibdeps, the font linked to Debian's copy
# (fonts-dejavu-core), and checked with lintian when it is installed.
# Safe to run again.
#
#   bash scripts/build-deb.sh [BUILD_DIR]   (build-deb by default; CI gives
#                                           build, which the tests built)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$(realpath -m "${1:-$root/build-deb}")
jobs=${TUMBO_JOBS:-2}
bash scripts/install-packages.sh g++ cmake make pkg-config libsdl2-dev libpng-dev zlib1g-dev libogg-dev \
  libvorbis-dev libfreetype-dev libgtest-dev fonts-dejavu-core dpkg-dev fakeroot lintian

cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=Release -DTUMBO_SYSTEM_FONT=ON -DTUMBO_BINDIR=games >/dev/null
targets=(tumbo tumbo-icons)
cmake --build "$out" --target help | grep -q '^\.\.\. tumbo-edit$' && targets+=(tumbo-edit)
nice cmake --build "$out" --target "${targets[@]}" -j"$jobs"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")

stage=$out/stage
rm -rf "$stage"
DESTDIR=$stage cmake --install "$out" --prefix /usr >/dev/null
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage"/usr/games/*
gzip -9n "$stage"/usr/share/man/man6/*.6
doc=$stage/usr/share/doc/tumbo
mkdir -p "$doc"
cp packaging/copyright "$doc/copyright"
{
  echo "tumbo ($version) unstable; urgency=medium"
  echo
  echo "  * Packaged from the game's own build."
  echo
  echo " -- The TUMBO developers <tumbo@example.org>  $(date -R -d @"${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}")"
} | gzip -9n >"$doc/changelog.gz"
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
chmod 0755 "$stage"/usr/games/*

# dpkg-shlibdeps wants a debian/control beside it.
work=$out/shlibdeps
rm -rf "$work" && mkdir -p "$work/debian"
printf 'Source: tumbo\n\nPackage: tumbo\nArchitecture: any\n' >"$work/debian/control"
deps=$(cd "$work" && dpkg-shlibdeps -O "$stage"/usr/games/* 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
mkdir -p "$stage/DEBIAN"
size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
cat >"$stage/DEBIAN/control" <<CONTROL
Package: tumbo
Version: $version
Architecture: amd64
Maintainer: The TUMBO developers <tumbo@example.org>
Installed-Size: $size
Depends: $deps, fonts-dejavu-core
Section: games
Priority: optional
Description: 2D physics platformer with balls, links and tensions
 Steer a ball through worlds built of balls joined by links that keep their
 length and tensions that keep their angle: rope bridges sag, hammers swing
 and towers topple. Two campaigns of ten levels ship with the game; the
 player's own campaigns in ~/.local/share/tumbo/campaigns show beside them.
CONTROL
(cd "$stage" && find usr -type f -exec md5sum {} + | sort -k2 >DEBIAN/md5sums)
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

mkdir -p dist
deb=dist/tumbo_${version}_amd64.deb
fakeroot dpkg-deb -Zxz --build "$stage" "$deb" >/dev/null
echo "built $deb (depends: $deps, fonts-dejavu-core)"
# A shared build folder gets its own install settings back.
[ "$out" = "$root/build-deb" ] || cmake -S . -B "$out" -UTUMBO_SYSTEM_FONT -UTUMBO_BINDIR >/dev/null
if command -v lintian >/dev/null; then
  lintian --info "$deb" || true
fi
