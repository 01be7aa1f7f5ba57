#!/usr/bin/env bash
# The native game's frame work, measured as the browser build measures it in
# its page: the real game in a 1024 x 768 window under Xvfb, EASY level 1 of
# the first campaign with Right held for five seconds, every frame's work
# (from the end of one frame's wait to the start of the next, the picture
# presented) logged by the game itself through TUMBO_FRAME_LOG. Prints the
# frames, mean, median and 95th percentile in milliseconds, as
# `scripts/web-test.sh --measure` prints the page's.
# Usage: bench/frame-work.sh [BUILD_DIR]   (build by default); with
# TUMBO_SHOT=FILE.png the window is saved at the end of the stretch.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$src/build}" && pwd)
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
[ -x "$bin/tumbo" ] || { echo "no $bin/tumbo: build the game first"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$src/media" "$work/media"
ln -s "$src/campaigns" "$work/campaigns"

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
cd "$WORK"
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; true' EXIT
grey() {  # pixels of the menus' grey (100, 100, 100) in a picture
  convert "$1" -alpha off -fill black +opaque 'rgb(100,100,100)' -fill white -opaque 'rgb(100,100,100)' \
    -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}
key() {
  xdotool key --delay 150 "$@"
  sleep 0.7
}
# Windowed, music and sounds off (the disk driver would only add its writes).
printf '0\r\n3\r\n0\r\n0\r\n0\r\n0\r\n' >prefs.txt
SDL_AUDIODRIVER=dummy TUMBO_FRAME_LOG="$WORK/frames.txt" "$BIN/tumbo" >game.log 2>&1 &
pid=$!
wid=$(timeout 30 xdotool search --sync --name '^TUMBO$' | tail -1)
xdotool windowfocus "$wid" 2>/dev/null || true
for _ in $(seq 120); do
  import -window "$wid" probe.png 2>/dev/null && [ "$(grey probe.png)" -gt 5000 ] && break
  sleep 0.25
done
sleep 0.3
xdotool key shift  # the first synthetic key after the focus change is lost
sleep 0.3
key Return  # PLAY
key Down    # EASY
key Return
key Return  # the first campaign, level 1
sleep 2     # the ball lands and settles
from=$(wc -l <frames.txt)
xdotool keydown Right
sleep 5
[ -n "$SHOT" ] && import -window "$wid" "$SHOT"
xdotool keyup Right
to=$(wc -l <frames.txt)
kill -9 "$pid"
pid=
sed -n "$((from + 1)),${to}p" frames.txt >held.txt
DRIVE
WORK=$work BIN=$bin SHOT=${TUMBO_SHOT:-} xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/drive.sh"

sort -n "$work/held.txt" | awk '{ v[NR] = $1; s += $1 }
  END {
    if (NR == 0) { print "no frames logged"; exit 1 }
    printf "native frame work: %d frames, mean %.2f ms, median %.2f ms, 95th percentile %.2f ms\n",
      NR, s / NR, v[int(NR / 2) + 1], v[int(NR * 0.95) + 1]
  }'
