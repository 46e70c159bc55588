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
export LIBGL_ALWAYS_SOFTWARE=1
export LP_NUM_THREADS=0
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir build/test --output-on-failure -j"$jobs" --timeout 300

status=0
for target in build/test/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target" _fuzz)
  work=$(mktemp -d)
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$work/"; fi
  echo "fuzz: $name for ${fuzz_seconds}s"
  if ! "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 \
       -artifact_prefix="$PWD/build/test/$name-" "$work" >"build/test/$name.log" 2>&1; then
    echo "fuzz: $name failed"; tail -40 "build/test/$name.log"; status=1
  fi
  rm -rf "$work"
done
exit $status
