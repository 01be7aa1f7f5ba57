#!/usr/bin/env bash
# The browser build's test stage, for CI or by hand:
#  1. builds dist/web and the browser tumbo-sim (scripts/build-web.sh; the
#     libraries are kept in build-web/, so only the first run builds them);
#  2. the browser tumbo-sim under node gives the same bits as the native one
#     (the native build in build/ or the folder given as $1; tumbo-sim is
#     built there when missing): the determinism run and every solution;
#  3. the page in Debian's headless chromium (tests/web/page-test.js, its
#     client pinned in tests/web/package-lock.json; no browser is downloaded),
#     served by python3 -m http.server. Screenshots: build-web/shots/.
# Every step has a hard time limit, so the stage can fail but never hang.
# Prints the time of every step.
#
#   bash scripts/web-test.sh [NATIVE_BUILD_DIR] [--measure]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
native=$root/build
measure=()
for a in "$@"; do
  case "$a" in
    --measure) measure=(--measure) ;;
    *) native=$(cd "$a" && pwd) ;;
  esac
done
shots=$root/build-web/shots
failed=()
start=$SECONDS

step() {  # name, time limit in seconds, command...
  local name=$1 limit=$2
  shift 2
  local t0=$SECONDS rc
  echo "=== $name"
  timeout --kill-after=20 "$limit" "$@"
  rc=$?
  if [ $rc -eq 0 ]; then
    echo "=== $name: passed in $((SECONDS - t0)) s"
  else
    [ $rc -eq 124 ] && echo "=== $name: stopped after its limit of $limit s"
    echo "=== $name: FAILED in $((SECONDS - t0)) s"
    failed+=("$name")
  fi
  return $rc
}

finish() {
  echo "=== web stage took $((SECONDS - start)) s"
  if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
  fi
  echo "web stage: all passed"
  exit 0
}

native_sim() {
  if [ ! -f "$native/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
  fi
  cmake --build "$native" --target tumbo-sim -j2 >/dev/null
}

npm_client() {
  # puppeteer-core fetches no browser; the variable makes sure of it.
  (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
}

page_test() {
  local port log server rc
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  log=$root/build-web/http.log
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/dist/web" >"$log" 2>&1 &
  server=$!
  for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2>/dev/null && break
    sleep 0.2
  done
  rm -rf "$shots"
  node tests/web/page-test.js "http://127.0.0.1:$port/" "$shots" $measure_arg
  rc=$?
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  return $rc
}

install_packages() {
  bash scripts/install-packages.sh chromium python3 || return 1
  # Any node 18 or later with its npm; Debian's own when there is none.
  command -v npm >/dev/null || bash scripts/install-packages.sh nodejs npm
}

# The steps that are functions run in a shell of their own under timeout.
export root native shots
export -f install_packages native_sim npm_client page_test
export measure_arg=${measure[*]:-}

step "install packages" 900 bash -c install_packages || finish
step "web build" 3000 bash scripts/build-web.sh || finish
step "native tumbo-sim" 1200 bash -c native_sim || finish
step "same bits under node" 1200 bash tests/web/sim-compare.sh "$native/tools/tumbo-sim" \
  "$root/build-web/game/tumbo-sim.js"
step "browser test client" 600 bash -c npm_client || finish
step "page in headless chromium" 600 bash -c page_test
finish
