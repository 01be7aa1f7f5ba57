#!/usr/bin/env bash
# Sets everything up, builds, and starts the game. The game's folder is the
# repository root: media/ and campaigns/ are there, and prefs.txt and
# scores.txt are written there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec ./build/tumbo
