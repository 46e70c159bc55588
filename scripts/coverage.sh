#!/usr/bin/env bash
# Line coverage of the product code by the test programs, per folder.
# Builds an instrumented clang tree in build/coverage (clang source-based
# coverage), runs every test through CTest as ./test.sh does, merges the
# profiles and prints the covered share of lines of each library folder.
# The per-file report is left in build/coverage/coverage-files.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=build/coverage
jobs=${SKYVANE_JOBS:-$(nproc)}

flags="-fprofile-instr-generate -fcoverage-mapping"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DSKYVANE_BENCH=OFF -DSKYVANE_FUZZ=OFF -DSKYVANE_SANITIZE=OFF \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$build" -j"$jobs"

profiles="$build/profiles"
rm -rf "$profiles" && mkdir -p "$profiles"
# %m keeps one pool of profiles per program, merged as the tests run.
export LLVM_PROFILE_FILE="$root/$profiles/%4m.profraw"
export LIBGL_ALWAYS_SOFTWARE=1 LP_NUM_THREADS=0
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# A failing test still adds its coverage; the run's outcome is ./test.sh's.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build" -j"$jobs" --timeout 300 >"$build/ctest.log" 2>&1 ||
  echo "coverage: some tests failed, see $build/ctest.log"

llvm-profdata merge -sparse "$profiles"/*.profraw -o "$build/coverage.profdata"
objects=()
for program in $(find "$build/tests" -maxdepth 1 -type f -name '*_tests' -perm -u+x | sort); do
  if [ ${#objects[@]} -eq 0 ]; then objects+=("$program"); else objects+=(-object "$program"); fi
done
llvm-cov report "${objects[@]}" -instr-profile="$build/coverage.profdata" \
  -ignore-filename-regex="^$root/(tests|tools|fuzz|bench|build)/|^/usr/" \
  >"$build/coverage-files.txt"

# Each library folder on its own (dynamics/wings apart from dynamics); the
# application folders with their subfolders.
awk -v root="$root/" '
  $1 ~ /\.(cpp|h)$/ {
    file = $1; sub("^" root, "", file)
    n = split(file, part, "/")
    folder = part[1]
    if (folder == "dynamics" && n > 2) folder = part[1] "/" part[2]
    lines[folder] += $8; missed[folder] += $9
  }
  END {
    for (f in lines) {
      total += lines[f]; allmissed += missed[f]
      printf "%-22s %6d lines %6.1f%% covered\n", f, lines[f], 100 * (lines[f] - missed[f]) / lines[f] | "sort"
    }
    close("sort")
    printf "%-22s %6d lines %6.1f%% covered\n", "all", total, 100 * (total - allmissed) / total
  }' "$build/coverage-files.txt"
