#!/usr/bin/env bash
# Builds the Debian package, installs it with dpkg, validates the installed
# desktop entry and AppStream metadata, plays the installed game under Xvfb
# as an ordinary user made for the test (scripts/installed-drive.sh), then
# purges the package and checks that nothing of it is left outside that
# user's folder. Needs root (CI runs as root); refuses to touch a tumbo
# package that was installed before it started.
#
#   bash scripts/deb-test.sh [BUILD_DIR]   (given to scripts/build-deb.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
[ "$(id -u)" -eq 0 ] || { echo "deb-test: needs root (dpkg -i)"; exit 1; }
if dpkg-query -W -f='${Status}' tumbo 2>/dev/null | grep -q 'install ok'; then
  echo "deb-test: a tumbo package is already installed; not touching it"
  exit 1
fi
bash scripts/install-packages.sh desktop-file-utils appstream lintian strace xvfb xauth xdotool imagemagick

t0=$SECONDS
bash scripts/build-deb.sh "$@" | tail -1
deb=$(ls -t dist/tumbo_*_amd64.deb | head -1)
echo "deb-test: package built in $((SECONDS - t0)) s"
tags=$(lintian "$deb" 2>&1 | grep -E '^[EW]:' || true)
[ -z "$tags" ] || { echo "FAIL: lintian: $tags"; exit 1; }

user=tumbotest$$
shots=${TUMBO_SHOTS:-$root/build-deb/installed-shots}
mkdir -p "$shots"
cleanup() {
  pkill -9 -u "$user" >/dev/null 2>&1 || true
  dpkg --purge tumbo >/dev/null 2>&1 || true
  userdel -r "$user" >/dev/null 2>&1 || true
}
trap cleanup EXIT

dpkg -i "$deb" >/dev/null
files=$(dpkg -L tumbo)
game=/usr/games/tumbo
[ -x "$game" ] || { echo "FAIL: $game not installed"; exit 1; }
desktop-file-validate /usr/share/applications/tumbo.desktop
appstreamcli validate --no-net /usr/share/metainfo/tumbo.metainfo.xml

useradd -m -s /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
work=$(runuser -u "$user" -- mktemp -d)
chmod 0777 "$shots"
# Bounded: a stuck game or X server fails the test rather than hanging CI.
(cd "$work" && timeout -k 10 300 runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin:/usr/games \
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/scripts/installed-drive.sh" "$game" "$shots")
[ -f "$home/.local/share/tumbo/prefs.txt" ] || { echo "FAIL: no prefs.txt in $home/.local/share/tumbo"; exit 1; }
rm -rf "$work"
pkill -9 -u "$user" >/dev/null 2>&1 || true

dpkg --purge tumbo >/dev/null
left=""
while IFS= read -r f; do
  case "$f" in /. | /usr | /usr/share | /usr/games | /usr/share/doc | /usr/share/man | /usr/share/man/man6 | \
    /usr/share/applications | /usr/share/metainfo | /usr/share/icons | /usr/share/icons/hicolor | \
    /usr/share/icons/hicolor/*x* | /usr/share/icons/hicolor/*x*/apps) continue ;;
  esac
  [ -e "$f" ] || [ -L "$f" ] && left+=" $f"
done <<<"$files"
[ -z "$left" ] || { echo "FAIL: left after purging:$left"; exit 1; }
ls /usr/share/tumbo /usr/games/tumbo >/dev/null 2>&1 && { echo "FAIL: the game's folders are left"; exit 1; }
[ -f "$home/.local/share/tumbo/prefs.txt" ] || { echo "FAIL: purging took the player's files"; exit 1; }
echo "deb-test: installed, played, removed in $((SECONDS - t0)) s"
