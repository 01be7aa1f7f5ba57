#!/bin/bash
# Prints the campaigns' table (campaigns/README.md) for every shipped level:
# campaign, level, idea (from tests/data/solutions/<Campaign>/ideas, lines
# "N: idea"), size in screens, start, goal, solution frames and how many of
# the 40 shifted replays (seed 40) complete the level.
# Usage: scripts/level-table.sh [BUILD_DIR]   (build by default)
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$src/build}
cd "$src" || exit 1
shopt -s nullglob
levels=(campaigns/*/*)
[ ${#levels[@]} -gt 0 ] || { echo "level-table.sh: no levels under campaigns/" >&2; exit 1; }
exec nice -n 10 "$bin/tools/tumbo-proof" "${levels[@]}" --table --jobs 0
