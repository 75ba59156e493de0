#!/usr/bin/env bash
# Makes the manual's pictures again: every window and dialog of Halvix on the
# simulated receiver, under a private Xvfb display, into docs/images/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh xvfb
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVIX_WERROR=OFF >/dev/null
cmake --build build-release --target halvix-screenshots
display=":$(( 200 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
build-release/docs/halvix-screenshots docs/images corvel
build-release/docs/halvix-screenshots docs/images brisel
