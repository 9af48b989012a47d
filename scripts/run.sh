#!/usr/bin/env bash
# Installs what is missing, builds the optimised programs and starts velmora-cli on the folder
# given (the sample album by default), printing the NFO it would save.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
folder="${1:-$root/examples/album}"
cd "$root/build/release/program"
exec ./velmora-cli --print "$folder"
