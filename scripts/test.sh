#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers (ci preset) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
