#!/usr/bin/env bash
# package_test.sh BUILD SOURCE VERSION: packs the build with CPack as
# scripts/package.sh does (a few seconds) and checks the .deb: its
# contents, its control fields, that the packaged program finds the packaged
# manual, that apt accepts it, and lintian. The release package
# scripts/package.sh leaves in SOURCE (quandel_VERSION_*.deb) is checked the
# same way when it is there.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
version=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/quandel-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FEHLER: $*" >&2
  failures=$((failures + 1))
}

# The staging tree and package go to the temporary folder, not the build.
cpack -G DEB -B "$work/cpack" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}
shopt -s nullglob
debs=("$work"/cpack/quandel_"$version"_*.deb "$source"/quandel_"$version"_*.deb)
[ ${#debs[@]} -gt 0 ] || fail "CPack hat kein quandel_${version}_*.deb gebaut"

check() { # check DEB
  local deb=$1
  echo "== $deb"
  contents=$(dpkg-deb -c "$deb" | awk '{print $1, $2, $NF}')
  for f in usr/bin/quandel usr/bin/quandel-tools \
    usr/share/applications/de.quandel.Quandel.desktop \
    usr/share/metainfo/de.quandel.Quandel.metainfo.xml \
    usr/share/mime/packages/quandel.xml \
    usr/share/icons/hicolor/scalable/apps/quandel.svg \
    usr/share/man/man1/quandel.1.gz usr/share/man/man1/quandel-tools.1.gz \
    usr/share/doc/quandel/copyright usr/share/doc/quandel/changelog.gz \
    usr/share/quandel/manual/index.html; do
    grep -q " \./$f\$" <<<"$contents" || fail "$f fehlt im Paket"
  done
  grep -q '^-rwxr-xr-x root/root \./usr/bin/quandel$' <<<"$contents" ||
    fail "usr/bin/quandel nicht 0755 root/root"
  # Every page of the manual is in the package.
  missing=$(cd "$source/manual" && find . -type f | while read -r page; do
    grep -q " \./usr/share/quandel/manual/${page#./}\$" <<<"$contents" || echo "${page#./}"
  done)
  [ -z "$missing" ] || fail "Handbuchseiten fehlen im Paket: $missing"

  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = quandel ] || fail "Package ist $(field Package)"
  [ "$(field Version)" = "$version" ] || fail "Version ist $(field Version), nicht $version"
  depends=$(field Depends)
  # Computed from the binaries by dpkg-shlibdeps, plus the platform plugins.
  for p in libqt6widgets6 libqt6serialport6 libqt6core6 libc6 libstdc++6 qt6-qpa-plugins; do
    grep -q "\b$p\b" <<<"$depends" || fail "Depends ohne $p: $depends"
  done
  grep -q qt6-translations-l10n <<<"$(field Recommends)" || fail "Recommends ohne Qt-Übersetzungen"

  # The packaged (stripped) program finds the packaged manual, and
  # apt accepts the package with what this machine has or can get.
  local unpacked
  unpacked=$(mktemp -d "$work/unpacked.XXXXXX")
  dpkg-deb -x "$deb" "$unpacked"
  report=$(env -u DISPLAY -u QT_QPA_PLATFORM "$unpacked/usr/bin/quandel" --pfade 2>&1) ||
    fail "quandel --pfade aus dem Paket: $report"
  grep -qx "Handbuch: $unpacked/usr/share/quandel/manual/index.html" <<<"$report" ||
    fail "quandel aus dem Paket findet sein Handbuch nicht: $report"
  apt-get install --simulate "$deb" >"$unpacked/apt.log" 2>&1 || {
    cat "$unpacked/apt.log" >&2
    fail "apt-get install --simulate lehnt das Paket ab"
  }

  # lintian: no errors. The warnings the package keeps are listed in
  # scripts/package.sh.
  lintian --fail-on error --tag-display-limit 0 "$deb" >&2 || fail "lintian meldet Fehler in $deb"
}

for deb in "${debs[@]}"; do
  check "$deb"
done
[ "$failures" = 0 ] || exit 1
echo "Geprüft: ${debs[*]}"
