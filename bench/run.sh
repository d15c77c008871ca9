#!/usr/bin/env bash
# Builds and runs the benchmarks; prints their figures. Nothing here fails on time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
echo "== core throughput (Google Benchmark)"
build/bin/bench_core --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null
echo "== receive path: 1 MB burst from velnor-sim (offscreen)"
for i in 1 2 3; do build/bin/bench_receive 1000000 2>/dev/null; done
echo "== download of 300 lines into velnor-sim (default busy times)"
build/bin/bench_download 300 2>/dev/null
