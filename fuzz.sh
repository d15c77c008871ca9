#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each of them for SECONDS (default 60).
#
#   ./fuzz.sh [SECONDS] [--keep] [TARGET...]
#
# The seeds in fuzz/corpus/<target>/ are only read; what a run finds that adds
# coverage stays in the build folder (FUZZ_BUILD, default /tmp/build-fuzz),
# where the next run starts from it. --keep merges it into fuzz/corpus/.
# Crash inputs go to $FUZZ_BUILD/artifacts/<target>/, logs to
# $FUZZ_BUILD/logs/. Exit status 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

seconds=60
keep=0
targets=()
for arg in "$@"; do
  case $arg in
    --keep) keep=1 ;;
    '' | *[!0-9]*) targets+=("$arg") ;;
    *) seconds=$arg ;;
  esac
done
[ ${#targets[@]} -eq 0 ] &&
  targets=(lcd_parse remkill_zeile zahl_wert tool_runs port_settings cp1252_codec)

build=${FUZZ_BUILD:-/tmp/build-fuzz}
# clang, the sanitizer and libFuzzer runtimes, llvm-symbolizer for the traces.
scripts/install-deps.sh clang-14 libclang-rt-14-dev llvm-14
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-/usr/lib/llvm-14/bin/llvm-symbolizer}

max_len() {
  case $1 in
    lcd_parse) echo 1024 ;;
    tool_runs) echo 8192 ;;
    *) echo 4096 ;;
  esac
}

summary=()
failed=0
for t in "${targets[@]}"; do
  [ -x "$build/bin/$t" ] || { echo "unknown target: $t" >&2; exit 2; }
  work=$build/corpus/$t
  artifacts=$build/artifacts/$t
  scratch=$build/tmp/$t
  log=$build/logs/$t.log
  mkdir -p "$work" "$artifacts" "$scratch" "$build/logs" "fuzz/corpus/$t"
  find "$artifacts" -type f -delete
  echo "== $t: $seconds s"
  rc=0
  TMPDIR=$scratch "$build/bin/$t" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
    -max_len="$(max_len "$t")" -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work" "fuzz/corpus/$t" >"$log" 2>&1 || rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  # A slow unit (over 10 s) is worth a look but no failure; a hang ends the
  # run through -timeout as a finding.
  found=$(find "$artifacts" -type f ! -name 'slow-unit-*' | head -1)
  slow=$(find "$artifacts" -type f -name 'slow-unit-*' | head -1)
  if [ $rc -eq 0 ] && [ -z "$found" ]; then
    result=clean
    [ -n "$slow" ] && result="clean (slowest unit $(sed -n 's/^stat::slowest_unit_time_sec: *//p' "$log" | tail -1) s: $slow)"
  else
    failed=1
    cause=$(grep -m1 -E 'invariant broken|ERROR: (AddressSanitizer|libFuzzer)|runtime error|SUMMARY' "$log" || true)
    result="FINDING (exit $rc) ${found:-no artifact}: ${cause:-see $log}"
  fi
  if [ $keep -eq 1 ]; then
    "$build/bin/$t" -merge=1 -max_len="$(max_len "$t")" "fuzz/corpus/$t" "$work" >>"$log" 2>&1 || true
  fi
  rm -rf "$scratch"
  summary+=("$(printf '%-15s %12s  %s' "$t" "${execs:-?}" "$result")")
done

echo
printf '%-15s %12s  %s\n' target executions result
printf '%s\n' "${summary[@]}"
echo "logs: $build/logs/"
exit $failed
