#!/usr/bin/env bash
# Builds the Debian package: a Release build of its own in build-package with
# Debian's hardening flags, then CPack, then lintian (an error fails the run).
# The last line printed is the path of the .deb.
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps (dpkg-dev) finds the package's dependencies, lintian checks it, and
# groff and xmllint check its manual pages and manual.
scripts/deps.sh dpkg-dev lintian groff-base libxml2-utils

# Files land in the package with the modes they are built with.
umask 022
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
# Warnings stay errors in the test build; a release build for users does not
# fail on a new compiler's warning.
# HALVIX_RELEASE_CHECK=1 (CI) builds the tests and benchmarks in the same tree
# with warnings as errors: GCC at -O3 warns where the Debug build does not, and
# one Release tree is cheaper than two.
extra=(-DHALVIX_TESTS=OFF -DHALVIX_BENCH=OFF -DHALVIX_WERROR=OFF)
[ "${HALVIX_RELEASE_CHECK:-0}" = 1 ] && extra=(-DHALVIX_TESTS=ON -DHALVIX_BENCH=ON -DHALVIX_WERROR=ON)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  "${extra[@]}" -DHALVIX_SANITIZE=OFF -DHALVIX_FUZZ=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build build-package
rm -f build-package/halvix_*.deb
(cd build-package && cpack -G DEB)
deb=$(ls build-package/halvix_*.deb)

echo "== lintian $deb"
# Errors fail the package; the warnings and notes it prints are explained in README.md.
lintian --fail-on error --display-info "$deb"
echo "$PWD/$deb"
