#!/bin/bash
# No shipped level but the first two of the first campaign is completed by a
# careless player within 7200 frames: doing nothing, holding Right, Right and
# Space, Right and Space in pulses, rocking Left and Right with Space held, and
# 20 random scripts of holds of 8 to 60 frames (a fixed seed). tumbo-proof
# plays them on every processor and stops each run when the level ends.
# Usage: mashing.sh SOURCE_DIR BINARY_DIR
set -u
src=${1:?source dir}
bin=${2:?binary dir}
proof=$bin/tools/tumbo-proof

cd "$src" || exit 1
shopt -s nullglob
levels=(campaigns/*/*)
[ ${#levels[@]} -gt 0 ] || { echo "no levels under campaigns/"; exit 1; }

out=$("$proof" "${levels[@]}" --mashing-only --random 20 --jobs 0 --check)
status=$?
echo "$out"
# One line per level, and the tool's own verdict.
[ "$(grep -c ' mashed=' <<<"$out")" -eq ${#levels[@]} ] || { echo "FAIL: not every level was played"; exit 1; }
grep -q "^${#levels[@]} levels proven, " <<<"$out" || { echo "FAIL: no verdict"; exit 1; }
[ $status -eq 0 ]
