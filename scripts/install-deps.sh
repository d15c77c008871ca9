#!/usr/bin/env bash
# Installs the Debian packages that building and testing Quandel need, and
# only those that are missing. Extra package names may be passed as arguments.
set -euo pipefail

packages=(
  fonts-freefont-ttf # FreeMono draws the control pictures of the terminal pane
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev qt6-translations-l10n libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core
  # the install and package tests: validators, the MIME database, manual
  # pages, run paths; the package: dpkg-shlibdeps, dpkg-buildflags, lintian
  desktop-file-utils appstream shared-mime-info man-db file binutils dpkg-dev lintian
  xvfb xauth # opening the manual needs a real X platform (tst_basic_manual)
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Bitte als root ausführen oder sudo installieren: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "Installiere: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
