#!/bin/bash
# Rebuilds the seed corpora from the shipped levels and the test files.
# Usage: tests/fuzz/makecorpus.sh   (from anywhere)
set -eu
src=$(cd "$(dirname "$0")/../.." && pwd)
out=$src/tests/fuzz/corpus
rm -rf "$out/level" "$out/prefs" "$out/scores"
mkdir -p "$out/level" "$out/prefs" "$out/scores"

# Level seeds: mode byte, 16 key-pattern bytes, then the level file. Two key
# patterns per level: walking right with jumps, and a restless mix.
walk='\x02\x06\x02\x06\x02\x06\x02\x06\x02\x06\x02\x06\x02\x06\x02\x06'
mixed='\x01\x05\x02\x06\x00\x21\x08\x02\x41\x06\x80\x01\x12\x02\x06\x40'
n=0
for f in "$src"/campaigns/*/* "$src"/tests/data/levels/* "$src"/tests/data/campaigns/*/*; do
  [ -f "$f" ] || continue
  n=$((n + 1))
  { printf '\x01'; printf "$walk"; cat "$f"; } >"$out/level/seed$n-walk"
  { printf '\x1a'; printf "$mixed"; cat "$f"; } >"$out/level/seed$n-mixed"
done

printf '0\r\n3\r\n0\r\n3\r\n5\r\n5\r\n' >"$out/prefs/defaults"
printf '0\r\n1\r\n1\r\n9\r\n0\r\n10\r\n' >"$out/prefs/small-fullscreen"
printf '0\r\n7\r\n2\r\n-4\r\n15\r\n99999999999\r\n' >"$out/prefs/out-of-range"
printf '0\n2\n' >"$out/prefs/short"

{ for d in 1 2 3; do for i in $(seq 1 20); do printf 'NOBODY\r\n0\r\n'; done; done; } >"$out/scores/defaults"
{ for i in $(seq 1 60); do printf 'PLAYER %d\r\n%d\r\n' "$i" $((100000 - i * 977)); done; } >"$out/scores/filled"
printf 'ANN\r\n9223372036854775807\r\nBOB\r\n-9223372036854775808\r\nCY\r\n  +12abc\r\n' >"$out/scores/extremes"

rm -rf "$out/keys"
mkdir -p "$out/keys"
cp "$src/tests/data/solutions/Meadow/1.keys" "$out/keys/meadow1"
cp "$src/tests/data/keys/bridge.keys" "$out/keys/bridge"
printf '1-30 RIGHT SPACE\n31 P\n40 P\n# note\n50-60 LEFT 8 2\n' >"$out/keys/mixed"
