#!/bin/bash
# The physics in the browser build gives the native bits: the browser build
# of tumbo-sim, run under node, prints exactly what the native one prints for
# the scripted bridge run (whose hash the determinism test holds) and for
# every stored solution of a shipped level, dumped after every frame.
# Usage: sim-compare.sh NATIVE_TUMBO_SIM WEB_TUMBO_SIM_JS   (from the source folder)
set -u
native=${1:?native tumbo-sim}
web=${2:?tumbo-sim.js of the browser build}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
fail() {
  echo "FAIL: $*"
  fails=$((fails + 1))
}
# Every run has a hard limit: a hung runtime fails rather than stalls.
websim() { timeout 300 node --no-experimental-fetch "$web" "$@"; }
nativesim() { timeout 300 "$native" "$@"; }

# The value the determinism test holds, of the dump before the end line.
want=7730775055948294619
nativesim tests/data/campaigns/testcamp/5 --frames 400 --keys tests/data/keys/bridge.keys --every 1000 >"$tmp/n" ||
  fail "native bridge run: status $?"
websim tests/data/campaigns/testcamp/5 --frames 400 --keys tests/data/keys/bridge.keys --every 1000 >"$tmp/w" ||
  fail "browser bridge run: status $?"
for side in n w; do
  got=$(head -n -1 "$tmp/$side" | node "$here/fnv1a.js")
  [ "$got" = "$want" ] || fail "bridge run hash ($side): $got, not $want"
done
cmp -s "$tmp/n" "$tmp/w" || fail "bridge run: the browser build prints other numbers"

shopt -s nullglob
levels=0
for keys in tests/data/solutions/*/*.keys; do
  campaign=$(basename "$(dirname "$keys")")
  level=campaigns/$campaign/$(basename "$keys" .keys)
  [ -f "$level" ] || continue  # a solution kept for a campaign that does not ship yet
  levels=$((levels + 1))
  nativesim "$level" --frames 7200 --every 1 --keys "$keys" >"$tmp/n" || fail "$level native: status $?"
  websim "$level" --frames 7200 --every 1 --keys "$keys" >"$tmp/w" || fail "$level browser: status $?"
  last=$(tail -n 1 "$tmp/n")
  case "$last" in
    *result=levelcompleted) ;;
    *) fail "$level: the native run ends with '$last'" ;;
  esac
  if cmp -s "$tmp/n" "$tmp/w"; then
    echo "same: $level, $(($(wc -l <"$tmp/n") - 1)) ball lines, $last"
  else
    fail "$level: the browser build differs from line $(cmp "$tmp/n" "$tmp/w" | awk '{print $NF}')"
    cmp "$tmp/n" "$tmp/w" | head -n 1
    diff "$tmp/n" "$tmp/w" | head -n 4
  fi
done
[ "$levels" -gt 0 ] || fail "no shipped level with a solution"
echo "bridge run and $levels solutions compared, $fails failures"
[ "$fails" -eq 0 ]
