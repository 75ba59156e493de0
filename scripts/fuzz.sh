#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 30; CI uses the default)
# A finding (crash, sanitizer report, leak of a whole input) fails the run; the
# input that caused it is left in build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
scripts/deps.sh clang-14 libclang-rt-14-dev
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DHALVIX_FUZZ=ON -DHALVIX_TESTS=OFF -DHALVIX_WERROR=OFF
targets=$(sed -n 's/^halvix_add_fuzzer(\([a-z_]*\) .*/\1/p' tests/fuzz/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build build-fuzz --target $targets
status=0
for t in $targets; do
  seeds="tests/fuzz/corpus/${t#fuzz_}"
  work="build-fuzz/corpus/$t"
  findings="build-fuzz/findings/$t"
  mkdir -p "$work" "$findings"
  echo "== $t for ${seconds} s (seeds: $seeds)"
  if ! "build-fuzz/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$seeds" 2>"build-fuzz/$t.log"; then
    status=1
    echo "!! $t found a fault; see build-fuzz/$t.log and $findings/"
    tail -n 40 "build-fuzz/$t.log"
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "build-fuzz/$t.log" || true
done
exit $status
