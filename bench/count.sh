#!/bin/bash
# Instructions, first-level data misses and 512 KB second-level misses of the
# world frames, per function, under callgrind (valgrind):
#   bench/count.sh BUILD_DIR [shape 0..2] [balls] [frames]
# BUILD_DIR is a Release build with the tumbo-frames target built.
set -euo pipefail
build=${1:?usage: bench/count.sh BUILD_DIR [shape] [balls] [frames]}
shift
out=$(mktemp)
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --cache-sim=yes --LL=524288,8,64 --toggle-collect='countedframes*' \
  --callgrind-out-file="$out" "$build/bench/tumbo-frames" "${1:-1}" "${2:-10000}" "${3:-5}" >/dev/null 2>&1
callgrind_annotate --show=Ir,D1mr,DLmr,DLmw "$out" 2>/dev/null |
  awk '/PROGRAM TOTALS/ {print} /file:function/ {table = 1} table && NF == 0 && rows++ {exit} table {print}' |
  sed 's/(anonymous namespace):://g; s/ \[.*//' | cut -c1-150
