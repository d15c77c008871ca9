#!/usr/bin/env bash
# package.sh: builds the Debian package quandel_<version>_<arch>.deb in the
# repository's top folder, from a release build in build-deb/ made with the
# compiler and linker flags Debian builds its own packages with (hardening).
# Install it with: sudo apt-get install ./quandel_*.deb
#
# The package is CPack's: it packs exactly what "cmake --install" installs
# (the tree tests/install/install_test.sh checks), takes the version from the
# project() line, and lets dpkg-shlibdeps compute the library dependencies.
#
# lintian warnings the package keeps (tests/install/package_test.sh fails on
# errors only):
#   - none on Debian 12 at the time of writing; see the test's output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

dir=build-deb
if [ ! -f "$dir/build.ninja" ]; then
  # CMake reads CXXFLAGS and LDFLAGS at the first configure; the
  # preprocessor's part (_FORTIFY_SOURCE) comes with CPPFLAGS.
  eval "$(dpkg-buildflags --export=sh)"
  CXXFLAGS="$CPPFLAGS $CXXFLAGS" cmake -S . -B "$dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DQUANDEL_BENCH=OFF
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
