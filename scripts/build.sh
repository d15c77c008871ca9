#!/usr/bin/env bash
# build.sh [asan]: configures (once) and builds into build/, or with "asan"
# into build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = asan ]; then
  dir=build-asan
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUANDEL_SANITIZE=ON -DQUANDEL_BENCH=OFF)
fi
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja "${options[@]}"
fi
cmake --build "$dir"
