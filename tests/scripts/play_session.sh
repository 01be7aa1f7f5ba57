#!/usr/bin/env bash
# Plays the real game under Xvfb with xdotool: main menu -> PLAY -> EASY ->
# the "Meadow" campaign, level 1 with the arrow and space keys held, the pause
# screen, the score screen (level skip), then Escape back out and quit.
# Sound goes to SDL's disk driver (signed 16-bit stereo at 44100 Hz, as the
# game opens its device), with the music off so that only impact sounds can
# be heard: the capture must be silent in the menus and loud once the ball
# lands. A second, shorter run with the sounds volume at 0 must stay silent.
# Screenshots of the whole screen go to TUMBO_SHOTS (default
# <build>/session-shots).
# Usage: play_session.sh <source dir> <build dir>
set -euo pipefail
src=$(cd "$1" && pwd)
bin=$(cd "$2" && pwd)
shots=${TUMBO_SHOTS:-$bin/session-shots}
mkdir -p "$shots"
for tool in xvfb-run xdotool import convert compare cc; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$src/media" "$work/media"
ln -s "$src/campaigns" "$work/campaigns"

# The chooser lists campaigns sorted bytewise: find Meadow's place the same
# way.
index=-1
n=0
while IFS= read -r name; do
  [ -d "$src/campaigns/$name" ] || continue
  [ "$name" = Meadow ] && index=$n
  n=$((n + 1))
done < <(LC_ALL=C ls -A "$src/campaigns")
[ "$index" -ge 0 ] || { echo "no Meadow campaign"; exit 1; }

# Loudness of a stretch of the capture: the largest sample, how many samples
# are above the silence threshold and when the first of them comes (ms from
# the start of the stretch, -1 if none).
cat >"$work/peak.c" <<'C'
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
int main(int argc, char** argv) {
  if (argc < 4) return 2;
  FILE* f = fopen(argv[1], "rb");
  if (!f) { printf("0 0 -1\n"); return 0; }
  long from = atol(argv[2]) & ~3L, to = atol(argv[3]);
  fseek(f, from, SEEK_SET);
  int16_t s;
  long peak = 0, loud = 0, first = -1;
  for (long at = from; at + 2 <= to && fread(&s, 2, 1, f) == 1; at += 2) {
    long a = s < 0 ? -(long)s : s;
    if (a > peak) peak = a;
    if (a > 64 && loud++ == 0) first = (at - from) / 4 * 1000 / 44100;
  }
  fclose(f);
  printf("%ld %ld %ld\n", peak, loud, first);
  return 0;
}
C
cc -O2 -o "$work/peak" "$work/peak.c"

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
cd "$WORK"
fail() { echo "FAIL: $*"; exit 1; }

pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; true' EXIT
alive() { kill -0 "$pid" 2>/dev/null || fail "the game ended during: $1"; }
grey() {  # pixels of the menus' grey (100, 100, 100) in a picture
  convert "$1" -alpha off -fill black +opaque 'rgb(100,100,100)' -fill white -opaque 'rgb(100,100,100)' \
    -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}
# Pixels of the commonest coloured (not grey) colour in the band of the score
# screen's last line, "PRESS ENTER TO CONTINUE".
banner() {
  import -window "$wid" probe.png 2>/dev/null || { echo 0; return; }
  convert probe.png -crop 1024x70+0+640 +repage -format %c histogram:info:- |
    awk -F'[:(),]+' '{ n = $1 + 0; r = $3 + 0; g = $4 + 0; b = $5 + 0
      hi = r > g ? r : g; hi = hi > b ? hi : b; lo = r < g ? r : g; lo = lo < b ? lo : b
      if (hi - lo >= 24 && n > best) best = n } END { print best + 0 }'
}
start() {  # $1: sounds volume; the music stays off
  printf '0\r\n3\r\n0\r\n3\r\n%s\r\n0\r\n' "$1" >prefs.txt
  rm -f audio.raw
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" "$BIN/tumbo" >game.log 2>&1 &
  pid=$!
  wid=$(timeout 30 xdotool search --sync --name '^TUMBO$' | tail -1) || fail "no window"
  xdotool windowfocus "$wid" 2>/dev/null || true
  # Keys sent before the main menu opens are flushed: wait for its grey items.
  local shown=0
  for _ in $(seq 120); do
    alive "start-up"
    if import -window "$wid" probe.png 2>/dev/null && [ "$(grey probe.png)" -gt 5000 ]; then
      shown=1
      break
    fi
    sleep 0.25
  done
  [ "$shown" = 1 ] || fail "no main menu"
  sleep 0.3
  # The first synthetic key after the focus change does not reach the game.
  xdotool key shift
  sleep 0.3
}
key() {
  xdotool key --delay 150 "$@"
  sleep 0.7
}
hold() {  # the level reads Escape as held, so a tap inside one frame is missed
  xdotool keydown "$1"
  sleep 0.3
  xdotool keyup "$1"
  sleep 0.7
}
shot() {
  import -window root "$SHOTS/$1.png"
  alive "$1"
}
differ() {  # number of pixels that differ between two shots
  { compare -metric AE "$SHOTS/$1.png" "$SHOTS/$2.png" null: 2>&1 || true; } | awk '{ printf "%d", $1 + 0 }'
}
captured() { stat -c %s audio.raw 2>/dev/null || echo 0; }
loudness() { "$WORK/peak" audio.raw "$1" "$2"; }
ended() {  # the program must end by itself with status 0
  for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" || fail "$1: exit status $?"
      pid=
      return 0
    fi
    sleep 0.1
  done
  fail "$1: still running"
}
to_level() {  # main menu -> PLAY -> EASY -> Meadow, stopping before Enter
  key Return
  key Down
  shot "$(printf %02d "$1")_play_modes"
  key Return
  for _ in $(seq "$INDEX"); do key Down; done
  shot "$(printf %02d $(($1 + 1)))_campaigns"
}

# Run 1: sounds at full volume.
start 10
shot 01_main_menu
to_level 2
quiet=$(captured)
[ "$quiet" -gt 0 ] || fail "nothing captured from the disk audio driver"
key Return
# The ball falls for about half a second before it first touches anything;
# a slow machine takes longer, so wait for the sound rather than a fixed time.
for _ in $(seq 60); do
  read -r peak loud first < <(loudness "$quiet" "$(captured)")
  [ "$loud" -gt 100 ] && break
  alive "the fall"
  sleep 0.25
done
echo "audio after the ball lands: peak $peak, $loud samples above 64, the first $first ms after Enter"
[ "$loud" -gt 100 ] || fail "no impact sound when the ball lands (peak $peak)"
[ "$first" -ge 300 ] || fail "a sound $first ms after Enter, before the ball can have landed"
sleep 0.5
shot 04_level_start
read -r peak0 loud0 first0 < <(loudness 0 "$quiet")
echo "audio in the menus: peak $peak0"
[ "$peak0" -le 64 ] || fail "sound in the menus (peak $peak0)"

# Level 1 of Meadow: a post at x 700 stops a ball that rolls right without
# jumping, and jumping with Left held keeps it bouncing off the left wall, so
# neither reaches the goal by itself however many frames a second pass.
xdotool keydown Right
sleep 1.5
shot 05_play_right
xdotool keyup Right
xdotool keydown Left space
sleep 1.5
shot 06_play_jump
[ "$(differ 05_play_right 06_play_jump)" -gt 0 ] || fail "the world does not move during play"
[ "$(differ 01_main_menu 06_play_jump)" -gt 1000 ] || fail "the play screen looks like the menu"

key p
shot 07_pause_a
sleep 1.5
shot 07_pause_b
[ "$(differ 07_pause_a 07_pause_b)" = 0 ] || fail "the picture is not frozen while paused"
[ "$(differ 01_main_menu 07_pause_a)" -gt 1000 ] || fail "the pause screen looks like the menu"
key p
shot 08_resumed
[ "$(differ 07_pause_b 08_resumed)" -gt 0 ] || fail "the world does not move after the pause"

# The level skip: 2 is polled only in a frame where 8 was hit, so a 2 sent
# first waits for the 8 and frame timing cannot split the pair.
key 2
key 8
xdotool keyup Left space
# The score screen's lines appear over 240 frames, which take longer than 4 s
# on a busy machine: wait for the last one (its colour cycles, so give up
# quietly if it happens to be grey).
for _ in $(seq 60); do
  [ "$(banner)" -gt 4000 ] && break
  alive "the score screen"
  sleep 0.25
done
shot 09_score_screen
[ "$(differ 08_resumed 09_score_screen)" -gt 1000 ] || fail "no score screen"
hold Escape
shot 10_main_menu_again
key Escape
ended "escape from the main menu"

# Run 2: the same play with the sounds volume at 0 stays silent.
start 0
to_level 11
key Return
sleep 2
xdotool keydown Right
sleep 1
xdotool keyup Right
xdotool keydown Left space
sleep 2
xdotool keyup Left space
alive "silent play"
hold Escape
key Escape
ended "escape after silent play"
read -r peak loud first < <(loudness 0 "$(captured)")
echo "audio with sounds volume 0: peak $peak, $loud samples above 64 in $(captured) bytes"
[ "$(captured)" -gt 0 ] || fail "nothing captured in the silent run"
[ "$peak" = 0 ] || fail "sound heard with the sounds volume at 0 (peak $peak)"
echo "play session driven"
DRIVE

WORK=$work BIN=$bin SHOTS=$shots INDEX=$index xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/drive.sh"
