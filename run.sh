#!/usr/bin/env bash
# Builds Quandel and starts it talking to the simulated controller: COM1 is
# mapped to velnor-sim on a pseudo-terminal, and the settings live in
# build/demo-config so the user's own settings stay untouched. When Quandel
# ends, the simulator ends too.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh

config="$PWD/build/demo-config"
link="$PWD/build/velnor-com1"
mkdir -p "$config/Quandel"

build/bin/velnor-sim --link "$link" "$@" > build/velnor-sim.out &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
[ -e "$link" ] || { echo "velnor-sim ist nicht gestartet" >&2; exit 1; }

scripts/map-com1.sh "$config/Quandel/Quandel.ini" "$link"
# On the first start the navigator shows the example programs.
ini="$config/Quandel/Quandel.ini"
grep -q '^\[Settings\]' "$ini" || printf '\n[Settings]\nMyDir=%s\n' "$PWD/examples" >> "$ini"
XDG_CONFIG_HOME="$config" build/bin/quandel
