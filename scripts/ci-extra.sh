#!/bin/bash
# The CI's extra stage: the Debian package installed and played, the whole test suite under AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer (build-asan), then a clang
# build of the fuzz targets (build-fuzz), each run for a short bounded time
# from its seed corpus. Prints the time of every step.
#
# Usage: scripts/ci-extra.sh [FUZZ_SECONDS]   (10 by default)
# Environment: JOBS (parallel build jobs, 2 by default).
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
fuzzseconds=${1:-10}
jobs=${JOBS:-2}
failed=()
start=$SECONDS

step() {
  local name=$1
  shift
  local t0=$SECONDS
  echo "=== $name"
  if "$@"; then
    echo "=== $name: passed in $((SECONDS - t0)) s"
  else
    echo "=== $name: FAILED in $((SECONDS - t0)) s"
    failed+=("$name")
  fi
}

# Every step is bounded (coreutils timeout kills the step's whole process
# group), so a stuck program fails its step instead of hanging the run.
bounded() {
  timeout -k 30 "$@"
}

asan_build() {
  cmake -S "$src" -B "$src/build-asan" -DTUMBO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
    bounded 2400 cmake --build "$src/build-asan" -j"$jobs"
}

# The X server test loads X11, D-Bus and GL driver libraries that keep memory
# until exit (some of it in drivers already unloaded, which no suppression can
# name); it runs with every check but the leak check.
asan_tests() {
  cd "$src/build-asan" || return 1
  local rc=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  # The real-binary scripts drive the window with timed key presses, which the
  # sanitized game is too slow for; they run in the normal build only.
  ASAN_OPTIONS=detect_leaks=1 bounded 1800 ctest --output-on-failure -j"$jobs" --timeout 900 \
    -E '^(xvfb|xvfb_small_screen|script_app_screens|script_play_session|editor_window|script_mashing)$' || rc=1
  ASAN_OPTIONS=detect_leaks=0 bounded 300 ctest --output-on-failure --timeout 900 -R '^(xvfb|xvfb_small_screen)$' || rc=1
  cd "$src" || return 1
  return $rc
}

fuzz_build() {
  CC=clang CXX=clang++ cmake -S "$src" -B "$src/build-fuzz" -DTUMBO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    >/dev/null && bounded 1800 cmake --build "$src/build-fuzz" -j"$jobs" --target fuzz_level fuzz_prefs fuzz_scores fuzz_keys
}

# New inputs go to a scratch corpus; the committed seeds are only read.
fuzz_run() {
  local target=$1 work
  work=$(mktemp -d)
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
    bounded $((fuzzseconds + 120)) "$src/build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$fuzzseconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$src/build-fuzz/crash-$target-" \
    "$work" "$src/tests/fuzz/corpus/$target" >"$work.log" 2>&1
  local rc=$?
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work.log"
  [ $rc -eq 0 ] || tail -n 60 "$work.log"
  rm -rf "$work" "$work.log"
  return $rc
}

# clang and its sanitizer runtime build the fuzz targets; only this stage needs them.
install_clang() {
  bounded 1200 bash "$src/scripts/install-packages.sh" clang libclang-rt-14-dev
}

# The Debian package, installed, played as an ordinary user and removed; on
# its own, outside the parallel test runs, since it installs into /usr.
step "debian package" bounded 900 bash "$src/scripts/deb-test.sh" "$src/build"
step "install clang" install_clang
step "sanitizer build" asan_build
step "sanitizer tests" asan_tests
step "fuzz build" fuzz_build
for t in level prefs scores keys; do
  step "fuzz $t (${fuzzseconds} s)" fuzz_run "$t"
done
# The browser build: its libraries from Debian's sources, the physics under
# node against the native bits, and the page in headless chromium. Each of its
# steps has a limit of its own; the whole stage has this one.
step "browser" bounded 2700 bash "$src/scripts/web-test.sh" "$src/build"

echo "=== extra stage took $((SECONDS - start)) s"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "extra stage: all passed"
