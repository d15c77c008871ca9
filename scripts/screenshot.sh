#!/usr/bin/env bash
# Takes docs/screenshot.png: Quandel in a real X window (Xvfb) talking to
# velnor-sim, with settings in a throw-away folder; and docs/editor.png: the
# Editor tab with the example program and a jump to a missing line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh xvfb xauth xdotool imagemagick
scripts/build.sh

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
link="$work/velnor-com1"
build/bin/velnor-sim --link "$link" > "$work/sim.out" &
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
mkdir -p "$work/config/Quandel" docs
scripts/map-com1.sh "$work/config/Quandel/Quandel.ini" "$link"
printf '[Settings]\nMainLeft=0\nMainTop=0\nMainWidth=12000\nMainHeight=8250\nMyDir=%s\n' "$PWD/examples" \
  >> "$work/config/Quandel/Quandel.ini"

XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1024x720x24" bash -c '
  build/bin/quandel &
  app=$!
  wid=$(xdotool search --sync --onlyvisible --name "KAVOLT Quandel" | head -n 1)
  sleep 2.5
  # Download the example: pick it in the file list, answer "Ja" to loading
  # and "Nein" to the EEPROM question.
  xdotool mousemove --window "$wid" 40 237 click 1
  xdotool key --window "$wid" Return
  sleep 1; xdotool key Return
  sleep 4; xdotool key n
  sleep 1
  import -window "$wid" docs/screenshot.png
  kill $app
'
# The Editor tab: the example with a mistake, opened from the command line.
sed 's/GOSUB 100/GOSUB 1000/' examples/ZAEHLER.BAS > "$work/ZAEHLER.BAS"
XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1024x720x24" bash -c '
  build/bin/quandel "$0" &
  app=$!
  wid=$(xdotool search --sync --onlyvisible --name "EDITOR" | head -n 1)
  sleep 2.5
  import -window "$wid" docs/editor.png
  kill $app
' "$work/ZAEHLER.BAS"
echo "docs/screenshot.png und docs/editor.png geschrieben"
