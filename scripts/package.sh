#!/usr/bin/env bash
# package.sh: builds the Debian package quandel_<version>_<arch>.deb in the
# repository's top folder, from a build in build-deb/ made as Debian builds
# its own packages: build type None, so the compiler and linker flags are
# exactly those of dpkg-buildflags (-O2, hardening).
# Install it with: sudo apt-get install ./quandel_*.deb
#
# The package is CPack's: it packs exactly what "cmake --install" installs
# (the tree tests/install/install_test.sh checks), takes the version from the
# project() line, and lets dpkg-shlibdeps compute the library dependencies.
# tests/install/package_test.sh checks it (contents, dependencies, lintian).
#
# lintian (Debian 12) reports no error and no warning. Kept information tags:
#   package-contains-documentation-outside-usr-share-doc: the manual lies in
#     /usr/share/quandel/manual, where the program finds it from /usr/bin;
#   spelling-error-in-binary, typo-in-manual-page: German words ("Programm")
#     checked against an English word list;
#   binary-has-unneeded-section .comment: CPack strips with plain "strip".
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

dir=build-deb
if [ ! -f "$dir/build.ninja" ]; then
  # CMake reads CXXFLAGS and LDFLAGS at the first configure; the
  # preprocessor's part (_FORTIFY_SOURCE) comes with CPPFLAGS. "+all" adds
  # immediate binding (-z now) to Debian 12's default hardening.
  eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
  CXXFLAGS="$CPPFLAGS $CXXFLAGS" cmake -S . -B "$dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=None -DQUANDEL_BENCH=OFF
fi
cmake --build "$dir" --target quandel quandel-tools quandel_manual quandel_gzipped
rm -f "$dir"/quandel_*.deb
(cd "$dir" && cpack -G DEB)
rm -f quandel_*.deb
mv "$dir"/quandel_*.deb .
deb=$(ls quandel_*.deb)
echo
echo "Paket: $deb"
dpkg-deb -f "$deb" Package Version Depends Recommends
echo "Installieren mit: sudo apt-get install ./$deb"
