#!/usr/bin/env bash
# Takes docs/screenshot.png: Quandel in a real X window (Xvfb) talking to
# velnor-sim, with settings in a throw-away folder; and docs/editor.png: the
# Editor tab with the example program and a jump to a missing line.
# Also the manual's pictures in manual/bilder/: the Terminal tab after the
# example ran, the Editor tab with a finding, the port settings dialog, the
# tools dialog and the ASCII table. A picture that cannot be taken is reported
# and the others are still written.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh xvfb xauth xdotool imagemagick
scripts/build.sh

work=$(mktemp -d)
# The pictures show the file list and paths: a short folder of their own
# instead of wherever this checkout happens to lie.
demo=/tmp/BASIC-Programme
demo_made=0
if [ ! -e "$demo" ]; then mkdir "$demo" && demo_made=1; fi
cp examples/*.BAS "$demo"/
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"; [ $demo_made = 1 ] && rm -rf "$demo"' EXIT
link="$work/velnor-com1"
build/bin/velnor-sim --link "$link" > "$work/sim.out" &
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
mkdir -p "$work/config/Quandel" docs manual/bilder "$work/shots"
scripts/map-com1.sh "$work/config/Quandel/Quandel.ini" "$link"
printf '[Settings]\nMainLeft=0\nMainTop=0\nMainWidth=12000\nMainHeight=8250\nMyDir=%s\n' "$demo" \
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
  # The manual: the example running on the LCD, then the dialogs one by one.
  # Without a window manager each dialog gets the keys it needs directly.
  xdotool key --window "$wid" F2
  sleep 4
  import -window "$wid" "$1/terminal.png"
  shot() { # shot NAME TITLE KEY ["X Y"]: opens a window with KEY, takes it, closes it
    local name=$1 title=$2 key=$3 inside=${4:-} dlg
    # Shortcuts need the main window to be the active one: give it the
    # focus (no window manager does that here) and type for real.
    xdotool windowfocus --sync "$wid"
    sleep 0.5
    xdotool key "$key"
    if dlg=$(timeout 10 xdotool search --sync --onlyvisible --name "$title" | head -n 1) && [ -n "$dlg" ]; then
      sleep 1.5
      if [ -n "$inside" ]; then # "X Y": one turn of the mouse wheel there
        xdotool mousemove --window "$dlg" $inside click 5
        sleep 0.5
      fi
      import -window "$dlg" "$shots/$name.png"
      xdotool windowfocus --sync "$dlg"
      xdotool key Escape
      sleep 1
    else
      echo "Kein Fenster \"$title\" für $name.png" >&2
    fi
  }
  shots=$1
  # COM2 shows the device a port number means by default (COM1 is the
  # simulator here); Escape leaves the settings as they were.
  shot schnittstelle "COM-Anschlu" F9 "130 86"
  shot werkzeuge "REMKILL" ctrl+r
  shot ascii "ASCII-Tabelle" alt+a
  kill $app
' shot-session "$work/shots"
# The Editor tab: the example with a mistake, opened from the command line.
sed 's/GOSUB 100/GOSUB 1000/' examples/ZAEHLER.BAS > "$demo/ZAEHLER.BAS"
XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1024x720x24" bash -c '
  build/bin/quandel "$0" &
  app=$!
  wid=$(xdotool search --sync --onlyvisible --name "EDITOR" | head -n 1)
  sleep 2.5
  import -window "$wid" docs/editor.png
  kill $app
' "$demo/ZAEHLER.BAS"
cp docs/editor.png "$work/shots/editor.png"
# Small files for the manual: a palette of 64 colours keeps text readable.
for shot in terminal editor schnittstelle werkzeuge ascii; do
  if [ -s "$work/shots/$shot.png" ]; then
    convert "$work/shots/$shot.png" -strip +dither -colors 64 "PNG8:manual/bilder/$shot.png"
  else
    echo "manual/bilder/$shot.png fehlt: das Bild konnte nicht aufgenommen werden" >&2
  fi
done
echo "docs/screenshot.png, docs/editor.png und die Bilder in manual/bilder/ geschrieben"
