#!/usr/bin/env bash
# Installs what is missing, builds Halvix and starts it on the built-in simulated receiver.
# Extra arguments go to halvix (e.g. --simulate=brisel, or -d for developer mode).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVIX_TESTS=OFF
cmake --build build-release --target halvix halvix-sim
if [ $# -eq 0 ]; then set -- --simulate; fi
exec build-release/halvix "$@"
