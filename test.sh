#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then builds again
# with AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/) and runs
# every test once more there. QUANDEL_NO_ASAN=1 skips the second run.
# Arguments go to both ctest runs (e.g. ./test.sh -R tst_transfer).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@")

if [ "${QUANDEL_NO_ASAN:-}" != 1 ]; then
  echo "== the same tests under AddressSanitizer + UndefinedBehaviorSanitizer"
  scripts/build.sh asan
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  (cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600 "$@")
fi
