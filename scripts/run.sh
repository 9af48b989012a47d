#!/usr/bin/env bash
# Installs what is missing, builds the optimised programs and starts the window, velmora, in its
# program folder (build/release/program: nfo.ini, the list files, note.txt, lang/). On its first
# start the folder browser opens at the sample album under examples/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh
program="$root/build/release/program"
first_start=false
[ -f "$program/nfo.ini" ] || first_start=true
cmake --preset release >/dev/null
cmake --build --preset release
if $first_start; then
  sed -i "s|^defaultpath=.*|defaultpath=$root/examples/album/|" "$program/nfo.ini"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<TEXT
There is no display to show the window on. Either
  - start it on a virtual one:   xvfb-run -a scripts/run.sh   (then take screenshots with
    scripts/screenshots.sh), or
  - run the same job without a window:
      cd build/release/program && ./velmora-cli --print "$root/examples/album"
TEXT
  exit 1
fi
cd "$program"
exec ./velmora
