#!/usr/bin/env bash
# install_test.sh BUILD SOURCE: installs the build into a temporary prefix
# with "cmake --install" and checks the tree a user or the package gets:
# every file, the desktop entry, MIME type and AppStream data as the desktop
# reads them, the manual pages, the installed programs' run paths, and that
# the installed quandel finds its manual and Qt's German texts. The same
# lookup is checked in the build tree, which mirrors the installed layout.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quandel-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
  echo "FEHLER: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log" >&2
  exit 1
}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "keine Projektversion in CMakeCache.txt"

# -- every file -----------------------------------------------------------
for f in bin/quandel bin/quandel-tools \
  share/applications/de.quandel.Quandel.desktop \
  share/metainfo/de.quandel.Quandel.metainfo.xml \
  share/mime/packages/quandel.xml \
  share/icons/hicolor/scalable/apps/quandel.svg \
  share/man/man1/quandel.1.gz share/man/man1/quandel-tools.1.gz \
  share/doc/quandel/copyright share/doc/quandel/changelog.gz \
  share/quandel/manual/index.html; do
  [ -f "$prefix/$f" ] || fail "$f fehlt in der Installation"
done
for f in bin/quandel bin/quandel-tools; do
  [ -x "$prefix/$f" ] || fail "$f ist nicht ausführbar"
done
# The manual is the folder manual/ as it is, in the installation and in the
# build tree.
diff -r "$source/manual" "$prefix/share/quandel/manual" >&2 ||
  fail "installiertes Handbuch weicht von manual/ ab"
diff -r "$source/manual" "$build/share/quandel/manual" >&2 ||
  fail "Handbuch im Build-Baum weicht von manual/ ab"

# -- desktop entry, MIME type, icon, AppStream ----------------------------
desktop=$prefix/share/applications/de.quandel.Quandel.desktop
desktop-file-validate "$desktop" >&2 || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/de.quandel.Quandel.metainfo.xml" >&2 ||
  fail "appstreamcli validate"
key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Exec)" = "quandel %f" ] || fail "Exec ist \"$(key Exec)\""
[ -f "$prefix/share/icons/hicolor/scalable/apps/$(key Icon).svg" ] ||
  fail "kein Symbol zu Icon=$(key Icon)"
key 'Comment\[de\]' | grep -q 'BASIC-Programme' || fail "deutscher Kommentar fehlt"
case "$(key Categories)" in *Development*Electronics* | *Electronics*Development*) ;;
*) fail "Categories ist \"$(key Categories)\"" ;; esac
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"" \
  "$prefix/share/metainfo/de.quandel.Quandel.metainfo.xml" ||
  fail "AppStream-Release ist nicht $version mit Datum"
grep -q '<summary xml:lang="de">' "$prefix/share/metainfo/de.quandel.Quandel.metainfo.xml" ||
  fail "deutsche AppStream-Zusammenfassung fehlt"
# The MIME type the entry opens is the one shipped; the database built from
# it gives *.bas and *.BAS that type.
mime=$(key MimeType)
mime=${mime%;}
grep -q "<mime-type type=\"$mime\">" "$prefix/share/mime/packages/quandel.xml" ||
  fail "MIME-Typ $mime nicht in share/mime/packages/quandel.xml"
cp -r "$prefix/share/mime" "$work/mime"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/mime.log")"
grep -qi "^[0-9]*:$mime:\*\.bas$" "$work/mime/globs2" || fail "*.bas ist nicht $mime"
file -b "$prefix/share/icons/hicolor/scalable/apps/quandel.svg" | grep -q SVG ||
  fail "das Symbol ist kein SVG"

# -- manual pages ---------------------------------------------------------
for page in quandel quandel-tools; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
    "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
  zcat "$prefix/share/man/man1/$page.1.gz" | grep -q '^\.SH BESCHREIBUNG' ||
    fail "$page.1 ist nicht die deutsche Seite"
done
zcat "$prefix/share/doc/quandel/changelog.gz" | head -n 1 | grep -q "^quandel ($version)" ||
  fail "changelog nennt nicht Version $version"

# -- the installed programs -----------------------------------------------
for f in bin/quandel bin/quandel-tools; do
  if readelf -d "$prefix/$f" | grep -E 'R(UN)?PATH'; then
    fail "$f trägt einen Suchpfad für Bibliotheken"
  fi
done
"$prefix/bin/quandel-tools" --help >"$work/help.txt" || fail "quandel-tools --help"
grep -q 'Rückgabewert' "$work/help.txt" || fail "quandel-tools --help ohne Hilfetext"
[ "$("$prefix/bin/quandel-tools" --version)" = "quandel-tools $version" ] ||
  fail "quandel-tools --version ist nicht $version"

paths() { # paths EXE: what "EXE --pfade" reports; its exit code in $status
  status=0
  # No platform and no display: the check must run in a bare terminal.
  output=$(env -u DISPLAY -u QT_QPA_PLATFORM "$1" --pfade 2>"$work/pfade.err") || status=$?
}
paths "$prefix/bin/quandel"
[ "$status" = 0 ] || fail "quandel --pfade endet mit $status: $output $(cat "$work/pfade.err")"
grep -qx "Handbuch: $prefix/share/quandel/manual/index.html" <<<"$output" ||
  fail "installiertes quandel findet sein Handbuch nicht: $output"
grep -q '^Qt-Übersetzungen: .* (deutsch)$' <<<"$output" ||
  fail "installiertes quandel lädt Qts deutsche Texte nicht: $output"
# A controller maker's manual beside the program wins.
mkdir -p "$prefix/bin/Veno-Help"
touch "$prefix/bin/Veno-Help/index.html"
paths "$prefix/bin/quandel"
grep -qx "Handbuch: $prefix/bin/Veno-Help/index.html" <<<"$output" ||
  fail "Veno-Help neben dem Programm geht nicht vor: $output"
# Neither: the report names both places and says so in the exit code.
rm -r "$prefix/bin/Veno-Help" "$prefix/share/quandel/manual"
paths "$prefix/bin/quandel"
[ "$status" = 1 ] || fail "ohne Handbuch endet quandel --pfade mit $status"
grep -qx "Handbuch: nicht gefunden, gesucht: $prefix/bin/Veno-Help/index.html $prefix/share/quandel/manual/index.html" <<<"$output" ||
  fail "ohne Handbuch: $output"
# The build tree has the same layout.
paths "$build/bin/quandel"
grep -qx "Handbuch: $build/share/quandel/manual/index.html" <<<"$output" ||
  fail "quandel im Build-Baum findet sein Handbuch nicht: $output"

[ "$failures" = 0 ] || exit 1
echo "Installation in $prefix geprüft: alles vorhanden"
