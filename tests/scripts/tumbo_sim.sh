#!/bin/bash
# tumbo-sim: its output format, key files, early end, errors and screenshots.
# Usage: tumbo_sim.sh SOURCE_DIR BINARY_DIR
set -u
src=${1:?source dir}
bin=${2:?binary dir}
sim=$bin/tools/tumbo-sim
camp=tests/data/campaigns/testcamp
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0

fail() {
  echo "FAIL: $*"
  fails=$((fails + 1))
}

cd "$src" || exit 1

# Every 10th frame and the last, three balls each, then the end line.
out=$("$sim" $camp/1 --frames 100 --every 10) || fail "stop level exit status $?"
[ "$(tail -n 1 <<<"$out")" = "end frames=42 result=levelcompleted" ] || fail "stop level: $(tail -n 1 <<<"$out")"
frames=$(head -n -1 <<<"$out" | awk '{print $1}' | uniq | tr '\n' ' ')
[ "$frames" = "10 20 30 40 42 " ] || fail "dumped frames: $frames"
head -n -1 <<<"$out" | awk 'NF != 6 { bad = 1 } END { exit bad }' || fail "lines are not 'f n x y xv yv'"
[ "$(head -n 3 <<<"$out" | awk '{print $2}' | tr '\n' ' ')" = "1 2 3 " ] || fail "balls in list order"
grep -q '^10 2 312 500 0 0$' <<<"$out" || fail "an anchored ball stays put"

# The frame limit ends a level still in play; a damaging bar and a fall lose it.
[ "$("$sim" $camp/1 --frames 5 | tail -n 1)" = "end frames=5 result=play" ] || fail "frame limit"
[ "$("$sim" $camp/2 --every 1000 | tail -n 1)" = "end frames=42 result=lost" ] || fail "damaging bar"
"$sim" $camp/3 --every 1000 | tail -n 1 | grep -q '^end frames=1[0-9][0-9] result=lost$' || fail "falling out"

# Keys: a held run hits once on its first frame; '#' lines are comments. Esc
# and the level skip are looked at after a frame is shown, with the keys that
# arrived for the next one, so keys of frame A end the level after frame A - 1.
cat >"$tmp/esc.keys" <<'EOF'
# leave at once
3-9 ESC
EOF
[ "$("$sim" $camp/4 --keys "$tmp/esc.keys" | tail -n 1)" = "end frames=2 result=esc" ] || fail "Esc from a key file"
printf '4 8\n4 2\n' >"$tmp/skip.keys"
[ "$("$sim" $camp/4 --keys "$tmp/skip.keys" | tail -n 1)" = "end frames=3 result=levelcompleted" ] || fail "level skip"
printf '1-30 RIGHT\n' >"$tmp/right.keys"
[ "$("$sim" $camp/3 --frames 30 --keys "$tmp/right.keys" --every 30 | head -n 1 | awk '{print ($5 > 5.9 && $5 < 6.0)}')" = 1 ] ||
  fail "30 frames of Right give about 30 x 0.2 of speed"

# The same run twice gives the same numbers.
a=$("$sim" $camp/5 --frames 400 --keys tests/data/keys/bridge.keys --every 7)
b=$("$sim" $camp/5 --frames 400 --keys tests/data/keys/bridge.keys --every 7)
[ "$a" = "$b" ] || fail "two runs differ"

# Errors: exit status 2 and a message.
"$sim" "$tmp/nothere" 2>"$tmp/err" >/dev/null
[ $? -eq 2 ] && [ -s "$tmp/err" ] || fail "a missing level is not status 2 with a message"
"$sim" "$tmp" 2>/dev/null >/dev/null
[ $? -eq 2 ] || fail "a folder is not a level"
printf '1 JUMP\n' >"$tmp/bad.keys"
"$sim" $camp/1 --keys "$tmp/bad.keys" 2>/dev/null >/dev/null
[ $? -eq 2 ] || fail "an unknown key name is an error"

# Screenshots with the SDL renderer, offscreen; the numbers do not change.
c=$("$sim" $camp/5 --frames 400 --keys tests/data/keys/bridge.keys --every 7 --shot 60:"$tmp/a.png" --shot 2:"$tmp/b.png")
[ "$a" = "$c" ] || fail "shots change the run"
for f in a b; do
  [ "$(head -c 8 "$tmp/$f.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$f.png is not a PNG"
done
"$sim" $camp/1 --frames 5 --shot 9:"$tmp/late.png" >/dev/null 2>&1
[ $? -ne 0 ] && [ ! -e "$tmp/late.png" ] || fail "a shot after the last frame must fail"

[ $fails -eq 0 ] && echo "tumbo-sim: all checks passed"
exit $((fails > 0))
