#!/usr/bin/env bash
# Smoke test of the Windows build under wine and Xvfb, after
# `bash scripts/build-windows.sh tests`:
#  1. the game from dist/tumbo-windows.zip starts, shows the main menu
#     (screenshot in build-win/smoke/menu.png) and quits on Escape;
#  2. the headless test programs pass under wine;
#  3. every stored level solution gives the same final world, bit for bit,
#     under wine as in the Linux build (build/ or the folder given as $1).
# Installs wine64 and Xvfb when they are missing.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-win
linux_build=${1:-$root/build}
smoke=$out/smoke
fails=0
fail() {
  echo "FAIL: $*"
  fails=$((fails + 1))
}

packages=(wine wine64 xvfb xauth xdotool imagemagick unzip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A wine of our own, quiet, without asking to install Mono or Gecko.
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$smoke"
mkdir -p "$smoke"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
[ -f dist/tumbo-windows.zip ] || { echo "no dist/tumbo-windows.zip: run scripts/build-windows.sh"; exit 1; }

# --- 1. The game -----------------------------------------------------------
(cd "$smoke" && unzip -q "$root/dist/tumbo-windows.zip")
game=$smoke/tumbo
# Settings as a returning player has them (windowed, 1024 x 768), so that no
# first-run question stops the start.
printf '0\r\n3\r\n0\r\n3\r\n5\r\n5\r\n' >"$game/prefs.txt"
cat >"$smoke/run.sh" <<'RUN'
#!/usr/bin/env bash
# Runs inside Xvfb: start, wait for the menu, screenshot, Escape, wait for the end.
cd "$1"
wine tumbo.exe >"$2/game.log" 2>&1 &
pid=$!
xdotool search --sync --name '^TUMBO$' >"$2/window" 2>/dev/null &
finder=$!
for i in $(seq 60); do kill -0 $finder 2>/dev/null || break; sleep 1; done
kill $finder 2>/dev/null
win=$(head -n 1 "$2/window")
[ -n "$win" ] || { echo "no window"; kill $pid; exit 2; }
sleep 8  # the splash, then the menu
import -window root "$2/menu.png"
xdotool windowfocus --sync "$win" key Escape 2>/dev/null || xdotool key Escape
for i in $(seq 30); do
  kill -0 $pid 2>/dev/null || { wait $pid; echo "exit status $?"; exit 0; }
  sleep 1
done
echo "still running after Escape"
kill $pid
exit 3
RUN
if result=$(xvfb-run -a -s "-screen 0 1280x1024x24" bash "$smoke/run.sh" "$game" "$smoke"); then
  echo "game: $result; screenshot: $smoke/menu.png"
  [ "$result" = "exit status 0" ] || fail "the game ended with: $result"
  # The menu is on the screen: something lit in the middle of the window.
  lit=$(convert "$smoke/menu.png" -crop 1024x768+128+128 -colorspace gray -format '%[fx:mean>0.01]' info:)
  [ "$lit" = 1 ] || fail "the screenshot shows nothing"
else
  fail "the game did not start, show its window or quit on Escape: $result"
fi

# --- 2. The test programs --------------------------------------------------
bin=$out/game
winpath() { winepath -w "$1" 2>/dev/null; }
WINEPATH="$(winpath "$out/deps/bin");$(winpath "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")");$(winpath /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
for t in test_world test_play test_platform; do
  exe=$bin/tests/$t.exe
  [ -f "$exe" ] || { fail "$t.exe was not built"; continue; }
  (cd "$bin/tests" && SDL_AUDIODRIVER=dummy wine "$exe" --gtest_brief=1 >"$smoke/$t.log" 2>&1)
  status=$?
  summary=$(grep -E '^\[  (PASSED|FAILED)  \]|tests? from .* ran' "$smoke/$t.log" | tr -d '\r' | tr '\n' ' ')
  echo "$t under wine: $summary"
  [ $status -eq 0 ] || fail "$t under wine (see $smoke/$t.log)"
done

# --- 3. Level solutions, Linux against Windows -----------------------------
sim_win=$bin/tools/tumbo-sim.exe
sim_linux=$linux_build/tools/tumbo-sim
if [ -f "$sim_win" ] && [ -x "$sim_linux" ]; then
  same=0 differ=0
  for level in campaigns/*/*; do
    keys=tests/data/solutions/$(basename "$(dirname "$level")")/$(basename "$level").keys
    [ -f "$keys" ] || continue
    a=$("$sim_linux" "$level" --frames 7200 --every 100 --keys "$keys" | md5sum)
    b=$(wine "$sim_win" "$level" --frames 7200 --every 100 --keys "$keys" | tr -d '\r' | md5sum)
    if [ "$a" = "$b" ]; then
      same=$((same + 1))
    else
      differ=$((differ + 1))
      fail "$level: the Windows build's world differs from Linux's"
    fi
  done
  echo "level solutions: $same give the same worlds every 100 frames on both builds, $differ differ"
else
  echo "skipped the solution comparison: need $sim_win and $sim_linux"
fi

echo "windows smoke: $fails failures"
[ "$fails" -eq 0 ]
