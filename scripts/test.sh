#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers (ci preset) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

# Every fuzz target (clang, libFuzzer with ASan/UBSan) replays its seed corpus and every kept
# crasher once; no open-ended fuzzing here.
cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz
