#!/bin/bash
# A short soak: every shipped level for a few hundred frames of random keys;
# no value may stop being finite and memory must stay flat.
# Usage: soak.sh SOURCE_DIR BINARY_DIR
set -u
src=${1:?source dir}
bin=${2:?binary dir}
cd "$src" || exit 1
"$bin/tools/tumbo-soak" --frames "${TUMBO_SOAK_FRAMES:-1200}" --seed 7
