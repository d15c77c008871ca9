#!/usr/bin/env bash
# map-com1.sh INI DEVICE: sets [Schnittstellen] COM1=DEVICE in a Quandel
# settings file and leaves every other entry as it is.
set -euo pipefail
ini=$1 device=$2
touch "$ini"
awk -v dev="$device" '
  /^\[/ { if (in_sec && !done) { print "COM1=" dev; done = 1 } in_sec = ($0 == "[Schnittstellen]") }
  in_sec && /^COM1=/ { if (!done) { print "COM1=" dev; done = 1 } next }
  { print }
  END {
    if (!done) { if (!in_sec) { if (NR > 0) print ""; print "[Schnittstellen]" } print "COM1=" dev }
  }' "$ini" > "$ini.tmp"
mv "$ini.tmp" "$ini"
