#!/bin/bash
# The shipped campaigns: every level passes tumbo-check, every stored solution
# still completes its level within 7200 frames, and no level is completed by
# doing nothing for 600 frames.
# Usage: levels.sh SOURCE_DIR BINARY_DIR
set -u
src=${1:?source dir}
bin=${2:?binary dir}
check=$bin/tools/tumbo-check
sim=$bin/tools/tumbo-sim
fails=0

fail() {
  echo "FAIL: $*"
  fails=$((fails + 1))
}

cd "$src" || exit 1
shopt -s nullglob
levels=(campaigns/*/*)
[ ${#levels[@]} -gt 0 ] || { echo "no levels under campaigns/"; exit 1; }

"$check" "${levels[@]}" || fail "tumbo-check reports errors"

# The checker itself, on levels broken on purpose: each fault at its line.
out=$("$check" tests/data/checker/broken tests/data/checker/empty tests/data/checker/badversion)
[ $? -eq 1 ] || fail "tumbo-check does not fail on broken levels"
for want in \
  "broken:18: error: ball number 1 is already used" \
  "broken:19: error: mass is not positive" \
  "broken:20: error: x \"1e999\" is not a finite number" \
  "broken:22: error: radius is not positive" \
  "broken:30: error: ball kind \"stop\" will be read as \"normal\"" \
  "broken:64: error: second ball names ball 5, which is not defined before it" \
  "broken:70: error: link kind \"weird\" will be read as \"normal\"" \
  "broken:71: error: link has zero length: both ends lie at the same point" \
  "broken:80: error: tension names the same ball twice" \
  "broken:86: error: link has zero length: it joins a ball to itself" \
  "broken:86: error: record is cut short by the end of the file" \
  "broken:88: error: no \"stop\" link" \
  "empty:1: error: no player's ball" \
  "badversion:1: error: first line is not \"2\""; do
  grep -qF "$want" <<<"$out" || fail "tumbo-check misses: $want"
done
[ "$(grep -c 'error:' <<<"$out")" -eq 15 ] || fail "tumbo-check reports other errors: $out"

for level in "${levels[@]}"; do
  campaign=$(basename "$(dirname "$level")")
  n=$(basename "$level")
  keys=tests/data/solutions/$campaign/$n.keys
  if [ ! -f "$keys" ]; then
    fail "$level has no solution $keys"
  else
    last=$("$sim" "$level" --frames 7200 --every 100000 --keys "$keys" | tail -n 1)
    case "$last" in
      *result=levelcompleted) echo "ok: $level solved: $last" ;;
      *) fail "$level: $keys ends with '$last'" ;;
    esac
  fi
  idle=$("$sim" "$level" --frames 600 --every 100000 | tail -n 1)
  case "$idle" in
    *result=levelcompleted) fail "$level is completed by idling: $idle" ;;
    end*) ;;
    *) fail "$level: idle run gave '$idle'" ;;
  esac
done

echo "${#levels[@]} levels checked, $fails failures"
[ "$fails" -eq 0 ]
