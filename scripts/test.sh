#!/usr/bin/env bash
# Installs what is missing (the German locale of the decimal-comma tests
# included), builds Halvix with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
# The real peers of the process tests (not linked): a serial server, and
# Prometheus with promtool for the monitor.
scripts/deps.sh ser2net prometheus
scripts/locale.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHALVIX_SANITIZE=ON -DHALVIX_BENCH=ON
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2 --timeout 240
