#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with the sanitizers (ci preset; the
# build also checks the includes between layers), runs every test, checks the Debian package and
# replays the fuzz corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check_format.sh
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

# The Debian package, checked unpacked: the files its desktop entry and metainfo name, their
# validators, lintian, and the launcher.
scripts/check_package.sh

# Every fuzz target (clang, libFuzzer with ASan/UBSan) replays its seed corpus and every kept
# crasher once; no open-ended fuzzing here.
cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz
