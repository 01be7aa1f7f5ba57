#!/usr/bin/env bash
# Fetches Debian source packages with apt-get source through a private apt
# state under the given folder (the system's apt configuration is not
# changed). Sourced by the build scripts:
#
#   source scripts/debian-sources.sh
#   fetch_debian_sources OUT SRC zlib libpng1.6 ...   # into SRC, state in OUT/apt
#   debian_srcdir SRC zlib                            # the unpacked folder
#
# A package already unpacked in SRC is not fetched again.

debian_srcdir() { ls -d "$1/$2"-*/ | head -n 1; }

fetch_debian_sources() {
  local out=$1 src=$2
  shift 2
  local s missing=0
  for s in "$@"; do
    ls -d "$src/$s"-*/ >/dev/null 2>&1 || missing=1
  done
  [ "$missing" = 1 ] || return 0
  local apt=$out/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts"
  # The system's Debian entries, as deb-src.
  local list=$apt/debian-src.sources f
  : >"$list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q debian-archive-keyring "$f" || continue
    sed -e 's/^Types:.*/Types: deb-src/' "$f" >>"$list"
    echo >>"$list"
  done
  if [ ! -s "$list" ]; then
    cat >"$list" <<'LIST'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
LIST
  fi
  local opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt/parts"
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o "APT::Sandbox::User=root"
    -o "Debug::NoLocking=1")
  cp "$list" "$apt/parts/"
  apt-get "${opts[@]}" update -qq
  mkdir -p "$src"
  # The newest version first; where its files cannot be fetched (a mirror
  # without the security archive's sources), the point release's.
  for s in "$@"; do
    ls -d "$src/$s"-*/ >/dev/null 2>&1 && continue
    (cd "$src" && { apt-get "${opts[@]}" source -qq "$s" ||
      apt-get "${opts[@]}" source -qq "$s/bookworm-updates" ||
      apt-get "${opts[@]}" source -qq "$s/bookworm"; })
  done
}
