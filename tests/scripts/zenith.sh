#!/bin/bash
# The campaign still being built (Zenith): it is written to a scratch folder,
# every level passes tumbo-check, every level has its solution beside the
# campaign's source and an idea line, every solution still completes its
# level within 7200 frames, and no level is completed by doing nothing for
# 600 frames.
# Usage: zenith.sh SOURCE_DIR BINARY_DIR
set -u
src=${1:?source dir}
bin=${2:?binary dir}
check=$bin/tools/tumbo-check
sim=$bin/tools/tumbo-sim
solutions=$src/tools/levels/zenith-solutions/Zenith
fails=0

fail() {
  echo "FAIL: $*"
  fails=$((fails + 1))
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$bin/tools/tumbo-levels" "$scratch" Zenith >/dev/null || { echo "FAIL: tumbo-levels cannot write Zenith"; exit 1; }
cd "$src" || exit 1
shopt -s nullglob
levels=("$scratch"/Zenith/*)
[ ${#levels[@]} -gt 0 ] || { echo "FAIL: no Zenith levels written"; exit 1; }

"$check" "${levels[@]}" >/dev/null || fail "tumbo-check reports errors"

for level in "${levels[@]}"; do
  n=$(basename "$level")
  keys=$solutions/$n.keys
  grep -q "^$n: " "$solutions/ideas" || fail "Zenith/$n has no line in $solutions/ideas"
  if [ ! -f "$keys" ]; then
    fail "Zenith/$n has no solution $keys"
  else
    last=$("$sim" "$level" --level "$n" --frames 7200 --every 100000 --keys "$keys" | tail -n 1)
    case "$last" in
      *result=levelcompleted) echo "ok: Zenith/$n solved: $last" ;;
      *) fail "Zenith/$n: $keys ends with '$last'" ;;
    esac
  fi
  idle=$("$sim" "$level" --level "$n" --frames 600 --every 100000 | tail -n 1)
  case "$idle" in
    *result=levelcompleted) fail "Zenith/$n is completed by idling: $idle" ;;
    end*) ;;
    *) fail "Zenith/$n: idle run gave '$idle'" ;;
  esac
done

echo "${#levels[@]} Zenith levels checked, $fails failures"
[ "$fails" -eq 0 ]
