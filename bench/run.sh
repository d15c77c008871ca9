#!/usr/bin/env bash
# Builds and runs the benchmarks, then prints one table: every figure is the
# median of several runs with its spread (min-max), next to its goal. Nothing
# here fails on time; a goal that is not met only shows as "no".
#
#   ./bench/run.sh                          build/ (installs and builds first)
#   BUILD_DIR=/tmp/b ./bench/run.sh         another build folder, built there
#   RUNS=5 LONG_RUNS=3 ./bench/run.sh       runs per figure (long ones: LONG_RUNS)
#
# It takes about 15 minutes: the 60 s stream, the 300-line download and the
# fixed-delay download (about 4 minutes alone) dominate.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "${BUILD_DIR:-}" ]; then
  build=$BUILD_DIR
  [ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build "$build"
else
  build=build
  scripts/install-deps.sh
  scripts/build.sh
fi
bin=$build/bin
runs=${RUNS:-5}
long=${LONG_RUNS:-3}
results=$(mktemp)
trap 'rm -f "$results"' EXIT

# Runs a benchmark once: its RESULT lines go to the results, its readable
# line to the screen. A run that reports lost data still counts with its figures.
once() {
  local out
  out=$(mktemp)
  "$@" > "$out" || echo "  (exit status $?: see the line above)"
  awk '$1 == "RESULT" { print $2, $3 }' "$out" >> "$results"
  rm -f "$out"
}

echo "== core throughput (Google Benchmark, $runs repetitions)"
if [ -x "$bin/bench_core" ]; then
  "$bin/bench_core" --benchmark_repetitions="$runs" --benchmark_format=csv 2>/dev/null |
    awk -F, '
      $1 ~ /_(mean|median|stddev|cv)"$/ { next }
      $1 == "\"BM_LcdParse/4096\"" { print "lcd_mb_s", $6 / 1e6 }
      $1 == "\"BM_RemKillZeile\""  { print "remkillzeile_lines_s", $7 }
      $1 == "\"BM_RemKill\""       { print "remkill_ms", $3; print "remkill_cpu_ms", $4 }
      $1 == "\"BM_DeNumber\""      { print "denumber_ms", $3; print "denumber_cpu_ms", $4 }
      $1 == "\"BM_VarList\""       { print "varlist_ms", $3; print "varlist_cpu_ms", $4 }' >> "$results" ||
    echo "  bench_core failed"
  echo "  done"
else
  echo "  bench_core not built (Google Benchmark missing)"
fi

echo "== the editor with a 10000-line program, offscreen"
once "$bin/bench_editor" 10000 "$runs"

echo "== start-up to the shown window, offscreen ($runs runs)"
for _ in $(seq "$runs"); do once "$bin/bench_startup"; done

if [ -x "$bin/bench_first_window" ] && command -v xvfb-run >/dev/null; then
  echo "== the real binary's first window under Xvfb ($runs runs)"
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    for _ in $(seq '"$runs"'); do
      config=$(mktemp -d)
      XDG_CONFIG_HOME=$config "$0" "$1" || true
      rm -rf "$config"
    done' "$bin/bench_first_window" "$bin/quandel" 2>&1 |
    while read -r line; do
      case $line in
        RESULT*) echo "${line#RESULT }" >> "$results" ;;
        *) echo "$line" ;;
      esac
    done
fi

echo "== receive: 1 MB burst from velnor-sim ($runs runs)"
for _ in $(seq "$runs"); do once "$bin/bench_receive" burst 1000000; done

echo "== download of 300 lines at 9600 baud through the app ($long runs; the first lists the program back)"
once "$bin/bench_download" 300 1.04 --list
for _ in $(seq 2 "$long"); do once "$bin/bench_download" 300 1.04; done

echo "== the download, then three changed lines with \"Änderungen laden\" ($long runs)"
for _ in $(seq "$long"); do once "$bin/bench_download" 300 1.04 --changes; done

echo "== the same download by a minimal sender with the app's protocol (once)"
once "$bin/bench_handshake" 300 1.04

echo "== download of 300 lines at 9600 baud with a fixed pause per line (search, then the whole program)"
once "$bin/bench_fixed_delay" search 300 1.04

echo "== receive: 60 s stream at 115200 baud from velnor-sim ($long runs)"
for _ in $(seq "$long"); do once "$bin/bench_receive" stream 60 0.0868; done

# ---------------------------------------------------------------- the table
stats() { # key -> "median min max count" (empty when there is no figure)
  awk -v k="$1" '$1 == k { print $2 }' "$results" | sort -g | awk '
    { v[NR] = $1 }
    END {
      if (NR == 0) exit
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      print m, v[1], v[NR], NR
    }'
}
# row LABEL KEY FORMAT GOAL-OP GOAL-VALUE GOAL-TEXT
row() {
  local s
  s=$(stats "$2")
  if [ -z "$s" ]; then
    printf '| %-44s | %-10s | %-25s | %-9s | %-4s |\n' "$1" "-" "not measured" "$6" "-"
    return
  fi
  echo "$s" | awk -v label="$1" -v fmt="$3" -v op="$4" -v goal="$5" -v text="$6" '{
    met = "-"
    if (op == "<=") met = ($1 <= goal) ? "yes" : "no"
    if (op == "<")  met = ($1 <  goal) ? "yes" : "no"
    if (op == ">=") met = ($1 >= goal) ? "yes" : "no"
    if (op == "==") met = ($1 == goal) ? "yes" : "no"
    median = sprintf(fmt, $1)
    spread = sprintf(fmt "-" fmt " (n=%d)", $2, $3, $4)
    printf "| %-44s | %-10s | %-25s | %-9s | %-4s |\n", label, median, spread, text, met
  }'
}

# The single runs of the plain senders against each app run's wall time.
# against_app SINGLE-KEY NEW-KEY INVERT: for each app run, app wall / single
# (INVERT=1: single / app wall).
against_app() {
  local single
  single=$(stats "$1" | awk '{ print $1 }')
  [ -n "$single" ] || return 0
  awk -v s="$single" -v k="$2" -v inv="$3" '$1 == "download_wall_s" {
    print k, (inv ? s / $2 : $2 / s) }' "$results" > "$results.new"
  cat "$results.new" >> "$results"
  rm -f "$results.new"
}
against_app fixed_wall_s fixed_over_app 1
against_app handshake_wall_s app_over_handshake 0

echo
echo "Benchmarks, $(date +%F), build folder $build"
printf '| %-44s | %-10s | %-25s | %-9s | %-4s |\n' figure median "spread (min-max)" goal met
printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..46})" "$(printf -- '-%.0s' {1..12})" \
  "$(printf -- '-%.0s' {1..27})" "$(printf -- '-%.0s' {1..11})" "$(printf -- '-%.0s' {1..6})"
row "download 300 lines, app wall (s)"             download_wall_s        "%.2f" "" 0 ""
row "download, protocol floor (s)"                 download_floor_s       "%.2f" "" 0 ""
row "download, app / floor"                        download_ratio         "%.3f" "<=" 1.05 "<= 1.05"
row "download, app CPU / wall (%)"                 download_cpu_share_pct "%.2f" "<" 5 "< 5"
row "download, lines lost (app)"                   download_lost_lines    "%.0f" "==" 0 "0"
row "three changes loaded, wall (s)"               changes_wall_s         "%.2f" "" 0 ""
row "three changes / full download"                changes_over_download  "%.3f" "<" 0.25 "< 0.25"
row "listing 300 lines, wall (s)"                  listing_wall_s         "%.2f" "" 0 ""
row "comparing 300 lines, CPU (ms)"                compare_cpu_ms         "%.2f" "<" 10 "< 10"
row "minimal handshake sender, same lines (s)"     handshake_wall_s       "%.2f" "" 0 ""
row "download, app / minimal handshake sender"     app_over_handshake     "%.3f" "" 0 ""
row "fixed-delay sender, shortest passing (ms)"    fixed_edge_ms          "%.1f" "" 0 ""
row "fixed-delay sender, pause used (ms)"          fixed_delay_ms         "%.1f" "" 0 ""
row "fixed-delay sender, 300 lines (s)"            fixed_wall_s           "%.2f" "" 0 ""
row "fixed-delay sender, lines lost"               fixed_lost_lines       "%.0f" "==" 0 "0"
row "fixed-delay / app"                            fixed_over_app         "%.2f" ">=" 1.5 ">= 1.5"
row "receive 1 MB burst, time (s)"                 burst_s                "%.2f" "<" 5 "< 5"
row "receive 1 MB burst, bytes lost"               burst_lost_bytes       "%.0f" "==" 0 "0"
row "receive 1 MB burst, app CPU (s)"              burst_cpu_s            "%.2f" "" 0 ""
row "receive 1 MB burst, peak RSS (MB)"            burst_rss_mb           "%.1f" "" 0 ""
row "receive 60 s stream 115200 bd, bytes lost"    stream_lost_bytes      "%.0f" "==" 0 "0"
row "receive 60 s stream, app CPU (% of a core)"   stream_cpu_share_pct   "%.2f" "<" 20 "< 20"
row "receive 60 s stream, peak RSS (MB)"           stream_rss_mb          "%.1f" "" 0 ""
row "LcdParse, 4 KB chunks (MB/s)"                 lcd_mb_s               "%.1f" "" 0 ""
row "RemKillZeile (lines/s)"                       remkillzeile_lines_s   "%.3g" "" 0 ""
row "REMKILL, 10000 lines (ms)"                    remkill_ms             "%.2f" "<" 50 "< 50"
row "DENUMBER, 10000 lines (ms)"                   denumber_ms            "%.2f" "<" 50 "< 50"
row "VARLIST, 10000 lines (ms)"                    varlist_ms             "%.2f" "<" 50 "< 50"
row "REMKILL, CPU time (ms)"                       remkill_cpu_ms         "%.2f" "" 0 ""
row "DENUMBER, CPU time (ms)"                      denumber_cpu_ms        "%.2f" "" 0 ""
row "VARLIST, CPU time (ms)"                       varlist_cpu_ms         "%.2f" "" 0 ""
row "editor, open and colour 10000 lines (ms)"     editor_open_ms         "%.1f" "" 0 ""
row "editor, checks of 10000 lines (ms)"           editor_check_ms        "%.1f" "" 0 ""
row "editor, keystroke at the end (us)"            editor_key_us          "%.0f" "<" 16000 "< 16 ms"
row "start-up to exposed window, offscreen (s)"    startup_s              "%.3f" "<" 0.5 "< 0.5"
row "start-up, peak RSS offscreen (MB)"            startup_rss_mb         "%.1f" "<" 80 "< 80"
row "real binary, first window on Xvfb (s)"        window_s               "%.3f" "<" 0.5 "< 0.5"
row "real binary, peak RSS on Xvfb (MB)"           window_rss_mb          "%.1f" "<" 80 "< 80"
