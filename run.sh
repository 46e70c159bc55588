#!/usr/bin/env bash
# Installs what is missing, builds the release build and starts the simulator
# on data/.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSKYVANE_TESTS=OFF -DSKYVANE_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)"

program=build/release/sim/skyvane
if [ ! -x "$program" ]; then
  echo "run.sh: the libraries are built; no program is built yet."
  exit 0
fi
cd data
exec "../$program" "$@"
