#!/usr/bin/env bash
# Plays an installed game as the player would, under the X server it is given
# (run by scripts/deb-test.sh through xvfb-run, as the test's own user): the
# first-run question, the main menu, one option changed; then a campaign of
# the player's own is added and must show in the chooser and play.
# Usage: installed-drive.sh GAME SHOTS   (the current folder must be empty)
set -euo pipefail
game=$1
shots=$2
export SDL_AUDIODRIVER=dummy
own=${XDG_DATA_HOME:-$HOME/.local/share}/tumbo
fail() {
  echo "FAIL: $*"
  exit 1
}
[ -z "$(ls -A .)" ] || fail "the working folder is not empty"
[ ! -e "$own" ] || fail "$own exists before the first start"

pid=
# The game runs under strace (pid is strace's). Stopping strace while it
# traces a game with threads can leave it stuck detaching, so the game itself
# is killed and strace then ends on its own; nothing here waits unbounded.
stopgame() {
  pkill -9 -u "$(id -u)" -x tumbo 2>/dev/null || true
  [ -n "$pid" ] || return 0
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
}
trap stopgame EXIT
findwindow() {
  wid=$(timeout 20 xdotool search --sync --name '^TUMBO$' | tail -1) || fail "no window"
  xdotool windowfocus "$wid" 2>/dev/null || true
  sleep 0.5
  xdotool key shift # the first synthetic key after a focus change is lost
  sleep 0.3
}
key() {
  timeout 30 xdotool key --delay 150 "$@"
  sleep 0.7
}
shot() {
  timeout 30 import -window root "$shots/$1.png"
  echo "shot $1"
}
ended() {
  for _ in $(seq 50); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" || fail "$1: exit status $?"
      pid=
      return 0
    fi
    sleep 0.1
  done
  fail "$1: still running"
}
# Rows of text between y0 and y1 of the screen (runs of lines holding any
# lit pixel): the chooser's entries are the only text there.
textrows() {
  convert "$shots/$1.png" -crop "1024x$(($3 - $2))+0+$2" +repage -colorspace gray -threshold 3% \
    -scale "1x$(($3 - $2))!" -threshold 0 -depth 8 txt:- |
    awk 'NR > 1 { lit = ($0 ~ /gray\(255\)|#FFFFFF/); if (lit && !was) n++; was = lit } END { print n + 0 }'
}

# First start: the first-run question comes before the window, and the
# answer writes prefs.txt. Where SDL can show no box it counts as No; where
# it shows one, Return answers Yes (full screen, on a screen of the game's size).
strace -f -qq -e trace=openat -o "$shots/first.trace" "$game" >"$shots/first.log" 2>&1 &
pid=$!
for _ in $(seq 50); do
  [ -f "$own/prefs.txt" ] && break
  sleep 0.1
done
if [ ! -f "$own/prefs.txt" ]; then
  box=$(timeout 20 xdotool search --sync --name '^TUMBO$' | head -1) || fail "no first-run question"
  xdotool windowfocus "$box" 2>/dev/null || true
  sleep 0.5
  xdotool key Return
fi
for _ in $(seq 100); do
  [ -f "$own/prefs.txt" ] && break
  sleep 0.1
done
[ -f "$own/prefs.txt" ] || fail "no prefs.txt in $own after the first-run question"
sleep 3 # past the splash
findwindow
shot 01_main_menu
first_prefs=$(tr -d '\r' <"$own/prefs.txt" | paste -sd' ')
echo "prefs.txt after the first start: $first_prefs"
# OPTIONS, then TRAIL SIZE one up; leaving the screen saves.
key Down Return
sleep 1.5 # the options screen fades in
shot 02_options
key Down
key Down
key Right
shot 03_trail_changed
key Return
sleep 1
findwindow
prefs=$(tr -d '\r' <"$own/prefs.txt" | paste -sd' ')
[ "$prefs" = "${first_prefs% 3 5 5} 4 5 5" ] || fail "prefs.txt holds '$prefs', not the changed trail size"
[ -f "$own/scores.txt" ] || fail "no scores.txt in $own"
[ -z "$(ls -A .)" ] || fail "the game wrote into its working folder: $(ls -A .)"
grep -q '/share/tumbo/media/tumbo.png' "$shots/first.trace" || fail "media not read from the data folder"
key Escape
ended "escape on the main menu"

# PLAY, FREE PLAY: the chooser of the shipped campaigns alone.
start_to_chooser() {
  strace -f -qq -e trace=openat -o "$shots/$1.trace" "$game" >"$shots/$1.log" 2>&1 &
  pid=$!
  sleep 3
  findwindow
  key Return Return
  shot "$1"
}
start_to_chooser 04_chooser_shipped
key Escape Escape Escape
ended "escape from the chooser"

# The player's own campaign: ten levels copied from a shipped one.
first=$(ls "$(dirname "$game")/../share/tumbo/campaigns" | head -1)
mkdir -p "$own/campaigns/Zz Mine"
cp "$(dirname "$game")/../share/tumbo/campaigns/$first/"* "$own/campaigns/Zz Mine/"
start_to_chooser 05_chooser_with_own
rows_before=$(textrows 04_chooser_shipped 200 760)
rows_after=$(textrows 05_chooser_with_own 200 760)
echo "chooser rows: $rows_before shipped, $rows_after with the player's own"
[ "$rows_after" -eq $((rows_before + 1)) ] || fail "the player's campaign does not show in the chooser"
# The last entry (Up wraps to it), level 1.
key Up
shot 06_own_selected
key Return
sleep 1.5 # the level chooser drops the keys pressed while it opens
key Return
for _ in $(seq 100); do
  grep -q "campaigns/Zz Mine/1\"" "$shots/05_chooser_with_own.trace" && break
  sleep 0.1
done
sleep 1
shot 07_own_level
grep -q "campaigns/Zz Mine/1\"" "$shots/05_chooser_with_own.trace" || fail "the player's level 1 was not read"
key Escape Escape Escape Escape
sleep 1
stopgame
echo "installed game driven"
