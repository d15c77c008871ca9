#!/bin/sh
# Runs a test as an ordinary user meets devices: root opens every file,
# whatever its mode, through CAP_DAC_OVERRIDE; without it (and without
# CAP_DAC_READ_SEARCH) a device of mode 000 is refused to root too. Where the
# capabilities cannot be dropped, the test runs as it is and skips what it
# cannot show.
drop="--bounding-set=-dac_override,-dac_read_search"
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && setpriv "$drop" true 2>/dev/null; then
  exec setpriv "$drop" "$@"
fi
exec "$@"
