#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Halvix needs to build and test, if any are missing.
# Usage: scripts/deps.sh [EXTRA_PACKAGE...]   (scripts/test.sh adds the test-only peers)
#        scripts/deps.sh --only PACKAGE...     (just those, for the other scripts' own tools)
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libgtest-dev libbenchmark-dev libboost-math-dev fonts-dejavu-core
  qt6-httpserver-dev qt6-websockets-dev libtomlplusplus-dev)
if [ "${1:-}" = "--only" ]; then
  shift
  packages=()
fi
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
  { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }
