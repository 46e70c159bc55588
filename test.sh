#!/usr/bin/env bash
# Installs what is missing, builds the sanitized test build and runs every
# test, then runs each fuzz target briefly on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${SKYVANE_FUZZ_SECONDS:-8}

# One clang build serves the tests and the fuzz targets; a build tree made
# with another compiler is started afresh.
if [ -f build/test/CMakeCache.txt ] && ! grep -q "CMAKE_CXX_COMPILER:.*clang" build/test/CMakeCache.txt; then
  rm -rf build/test
fi
CC=clang CXX=clang++ cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DSKYVANE_SANITIZE=ON -DSKYVANE_ARENA_SYSTEM=ON -DSKYVANE_FUZZ=ON -DSKYVANE_WERROR=ON >/dev/null
cmake --build build/test -j"$jobs"

# OpenGL and window tests run on Mesa's software renderer in a virtual display.
# Its server never resets: an X server resets when its last client leaves,
# and a test that connects again meanwhile (on a busy machine the reset takes
# long enough) finds no display, so SDL starts without X and the test fails.
export LIBGL_ALWAYS_SOFTWARE=1
export LP_NUM_THREADS=0
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# A test's time limit: the slowest test takes about 12 s alone on one core of
# a busy machine and at most 30 s in a run on two cores, so the limit is
# far from what a loaded or small machine needs and still ends a hung test
# within minutes.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  ctest --test-dir build/test --output-on-failure -j"$jobs" --timeout 300

# Runs a command on a virtual display of its own, so that programs with
# windows can run side by side (on a shared display a window would take the
# focus from another's). The server picks a free display number itself and
# writes it once it takes connections, so servers started together never
# collide.
with_display() {
  local number_file server display status=0
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
  server=$!
  until [ -s "$number_file" ] || ! kill -0 "$server" 2>/dev/null; do sleep 0.1; done
  display=$(cat "$number_file")
  rm -f "$number_file"
  if [ -n "$display" ]; then DISPLAY=":$display" "$@" || status=$?; else status=1; fi
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  return "$status"
}

# The lane kernels on the portable path: the test programs of the lanes
# header, the simulation and the graphics, built in a small tree of their own with the
# lanes header's plain C form instead of the processor's instructions, must
# pass unchanged (the same results to the bit).
portable_tests="core_tests graphics_tests dynamics_tests dynamics_wings_tests dynamics_components_tests dynamics_all_tests"
CC=clang CXX=clang++ cmake -S . -B build/portable -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS="-O1 -DSIMDE_NO_NATIVE" -DCMAKE_CXX_FLAGS="-O1 -DSIMDE_NO_NATIVE" \
  -DSKYVANE_BENCH=OFF -DSKYVANE_WERROR=ON >/dev/null
# shellcheck disable=SC2086
cmake --build build/portable -j"$jobs" --target $portable_tests
rm -f build/portable/*.failed
portable_one() {
  local program=$1
  if with_display "build/portable/tests/$program" >"build/portable/$program.log" 2>&1; then
    echo "portable: $program passed"
  else
    echo "portable: $program failed, see build/portable/$program.log"
    grep -E "^\[  FAILED" "build/portable/$program.log" | head -20 || true
    touch "build/portable/$program.failed"
  fi
}
for program in $portable_tests; do portable_one "$program" & done
wait
portable_status=0
if ls build/portable/*.failed >/dev/null 2>&1; then portable_status=1; fi

# Each test program once more, its tests in a random order in one process,
# twice over: a test that leans on what an earlier one left, or that leaves
# behind what a second run trips on, fails here. Each program is split into
# shards of its own process and display (the longest programs take minutes
# in one), and all run beside each other, as many at a time as there are
# cores, those with window tests (the longest) first.
export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp"
status=0
rm -f build/test/*-shuffled.failed
shards=${SKYVANE_SHUFFLE_SHARDS:-4}
shuffled() {
  local name log
  name="$(basename "$1") shard $2/$shards"
  log="build/test/$(basename "$1")-shuffled-$2.log"
  # A fixed seed: two orders of their own per shard, the same on every run,
  # so a failure here can be replayed with the seed and shard the log names.
  if GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$2 with_display "$1" --gtest_shuffle \
       --gtest_random_seed="${SKYVANE_SHUFFLE_SEED:-1}" --gtest_repeat=2 >"$log" 2>&1; then
    echo "shuffled: $name passed"
  else
    echo "shuffled: $name failed, see $log"
    grep -E "^\[  FAILED|Randomizing" "$log" | head -20 || true
    touch "build/test/$(basename "$1")-shuffled-$2.failed"
  fi
}
windowed=()
others=()
for program in $(find build/test/tests -maxdepth 1 -type f -name "*_tests" -perm -u+x | sort); do
  # The list is read whole first: grep stopping at the first match would end
  # the program's output early, which pipefail counts as a failure. A program
  # that cannot list its tests fails in its run below.
  list=$("$program" --gtest_list_tests || true)
  if grep -qE "^[A-Za-z]*(Gl|Draw|Display)[A-Za-z]*\." <<<"$list"; then
    windowed+=("$program")
  else
    others+=("$program")
  fi
done
running=0
for program in "${windowed[@]}" "${others[@]}"; do
  for ((shard = 0; shard < shards; shard++)); do
    shuffled "$program" "$shard" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
  done
done
wait
if ls build/test/*-shuffled.failed >/dev/null 2>&1; then status=1; fi
status=$((status | portable_status))

# The targets put their scratch files in a folder of the temporary folder,
# which an input that crashes or times out leaves behind: they all get one
# scratch root here, removed however the run ends.
fuzz_root=$(mktemp -d)
trap 'rm -rf "$fuzz_root"' EXIT
# The targets run side by side, as many at a time as there are cores.
fuzz_one() {
  local target=$1 name work
  name=$(basename "$target" _fuzz)
  work=$(mktemp -d -p "$fuzz_root")
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$work/"; fi
  if TMPDIR="$fuzz_root" "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 \
       -artifact_prefix="$PWD/build/test/$name-" "$work" >"build/test/$name.log" 2>&1; then
    echo "fuzz: $name passed (${fuzz_seconds}s)"
  else
    echo "fuzz: $name failed"; tail -40 "build/test/$name.log"; touch "build/test/$name-fuzz.failed"
  fi
  rm -rf "$work"
}
rm -f build/test/*-fuzz.failed
running=0
for target in build/test/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  fuzz_one "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
done
wait
if ls build/test/*-fuzz.failed >/dev/null 2>&1; then status=1; fi
exit $status
