#!/usr/bin/env bash
# Builds the Debian package of the optimised programs: build/package/velmora_<version>_<arch>.deb,
# whose path is the last line printed. The build folder is its own (prefix /usr, Debian's
# hardening flags from dpkg-buildflags), so build/release keeps the flags the benchmarks measure.
#
#   scripts/package.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh
build="$root/build/package"
# Installed files and folders get the modes Debian expects whatever the caller's umask.
umask 022

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset release -B "$build" -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" --parallel 2
rm -f "$build"/velmora_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/velmora_*.deb
