#!/usr/bin/env bash
# tumbo-edit in a real window under Xvfb: xdotool clicks make two balls and
# drags a link between them, Ctrl+S saves, and the saved file holds them.
set -uo pipefail
src=$1
bin=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
ln -s "$src/media" media
cat >run.sh <<SCRIPT
set -u
SDL_AUDIODRIVER=dummy "$bin/editor/tumbo-edit" level.txt &
pid=\$!
win=
for i in \$(seq 1 100); do
  win=\$(xdotool search --name tumbo-edit 2>/dev/null | head -1)
  [ -n "\$win" ] && break
  sleep 0.1
done
[ -n "\$win" ] || { echo "no window"; kill \$pid; exit 1; }
# Generous pauses: a busy machine draws the editor slowly, and an event
# sent before a frame has taken the last one is still seen, but late.
sleep 2
at() { xdotool mousemove --window "\$win" "\$1" "\$2"; sleep 0.4; }
at 300 300; xdotool key 2; sleep 0.5
# A press and a release held apart, as a hand clicks: a busy machine may
# otherwise take both in one frame.
click() { xdotool mousedown 1; sleep 0.3; xdotool mouseup 1; sleep 0.6; }
at 300 300; click
at 500 300; click
xdotool key 3; sleep 0.5
at 300 300; xdotool mousedown 1; sleep 0.6
at 400 300; at 500 300; xdotool mouseup 1; sleep 0.6
xdotool keydown ctrl; sleep 0.3; xdotool keydown s; sleep 0.3; xdotool keyup s; sleep 0.3; xdotool keyup ctrl
for i in \$(seq 1 100); do [ -f level.txt ] && break; sleep 0.1; done
sleep 0.5
import -window root shot.png 2>/dev/null
kill \$pid
wait \$pid 2>/dev/null
exit 0
SCRIPT
xvfb-run -a -s "-screen 0 1280x1024x24" bash run.sh || { echo "FAIL: the editor did not run"; exit 1; }
[ -f level.txt ] || { echo "FAIL: nothing was saved"; exit 1; }
balls=$(grep -c "^New Ball" level.txt)
links=$(grep -c "^New Link" level.txt)
[ "$balls" -eq 2 ] || { echo "FAIL: $balls balls saved"; exit 1; }
[ "$links" -eq 1 ] || { echo "FAIL: $links links saved"; exit 1; }
# The link's rest length is the distance between the balls as placed: 200.
grep -q "^200.000000000000" level.txt || { echo "FAIL: the link's length is not 200"; cat level.txt; exit 1; }
echo "ok: two balls and a link saved from the window"
