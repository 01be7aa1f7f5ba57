#!/usr/bin/env bash
# Drives the real game under Xvfb through its screens with xdotool: the main
# menu, options (resolution changed and back), controls and the score tables.
# A screenshot of each screen is saved (TUMBO_SHOTS, default <build>/shots).
# Checks that the settings are written, that closing the window ends the
# program from any screen, and that Escape on the main menu ends it.
# Usage: app_screens.sh <source dir> <build dir>
set -euo pipefail
src=$(cd "$1" && pwd)
bin=$(cd "$2" && pwd)
shots=${TUMBO_SHOTS:-$bin/shots}
mkdir -p "$shots"
for tool in xvfb-run xdotool import cc; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$src/media" "$work/media"
ln -s "$src/campaigns" "$work/campaigns"

# The close box, as a window manager would send it.
cat >"$work/closewin.c" <<'C'
#include <X11/Xlib.h>
#include <stdlib.h>
int main(int argc, char** argv) {
  Display* d = XOpenDisplay(NULL);
  if (!d || argc < 2) return 1;
  Window w = (Window)strtoul(argv[1], NULL, 0);
  XEvent e = {0};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XCloseDisplay(d);
  return 0;
}
C
cc -o "$work/closewin" "$work/closewin.c" -lX11

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
cd "$WORK"
export SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; true' EXIT
findwindow() {  # a new display mode opens a new window
  wid=$(timeout 20 xdotool search --sync --name '^TUMBO$' | tail -1) || fail "no window"
  xdotool windowfocus "$wid" 2>/dev/null || true
  sleep 0.5
  # The first synthetic key after the focus change does not reach the game.
  xdotool key shift
  sleep 0.3
}
start() {
  printf '0\r\n3\r\n0\r\n3\r\n5\r\n5\r\n' >prefs.txt
  "$BIN/tumbo" >game.log 2>&1 &
  pid=$!
  sleep 3  # past the splash and the music loading
  findwindow
}
key() {
  xdotool key --delay 120 "$@"
  sleep 0.6
}
shot() {
  import -window "$wid" "$SHOTS/$1.png"
  echo "shot $1: $(identify -format '%wx%h' "$SHOTS/$1.png")"
}
ended() {  # waits for the program to end; its exit status must be 0
  for _ in $(seq 50); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" || fail "$1: exit status $?"
      pid=
      return 0
    fi
    sleep 0.1
  done
  kill "$pid"
  fail "$1: still running"
}

start
shot 01_main_menu
key Down Return
shot 02_options
key Down Left
shot 03_options_800x600
key Return
sleep 1
findwindow
size=$(xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}')
[ "$size" = 800x600 ] || fail "window is $size after choosing 800 x 600"
shot 04_main_menu_800x600
[ "$(tr -d '\r' <prefs.txt | sed -n 2p)" = 2 ] || fail "resolution not saved"
key Return
key Down Right Return
sleep 1
findwindow
size=$(xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}')
[ "$size" = 1024x768 ] || fail "window is $size after going back to 1024 x 768"
[ "$(tr -d '\r' <prefs.txt)" = "$(printf '0\n3\n0\n3\n5\n5')" ] || fail "prefs.txt not restored"
key Down Return
shot 05_controls
key Escape
key Down Return
shot 06_score_chooser
key Return
sleep 4  # rows appear one every 5 frames
shot 07_easy_table
key Escape Down Down Return
sleep 4
shot 08_hard_table
key Escape
shot 09_score_chooser_hard
key Escape
shot 10_main_menu_back
"$WORK/closewin" "$wid"
ended "close on the main menu"
[ -s scores.txt ] || fail "scores.txt not written"

# Closing the window ends the program from the other screens too.
for path in "Down Return" "Down Down Return" "Down Down Down Return" "Down Down Down Return Return"; do
  start
  key $path
  "$WORK/closewin" "$wid"
  ended "close after: $path"
done

# Escape on the main menu ends it.
start
key Escape
ended "escape on the main menu"
echo "all screens driven"
DRIVE

WORK=$work BIN=$bin SHOTS=$shots xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/drive.sh"
