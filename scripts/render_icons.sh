#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/org.example.velmora.svg, drawn by hand) into the
# PNG sizes of the hicolor icon theme beside it, packaging/icons/hicolor/NxN/apps/. The PNGs are
# committed, so a build needs no renderer; run this after changing the drawing.
#
# Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
icons="$(cd "$(dirname "$0")/../packaging/icons" && pwd)"
name=org.example.velmora
for size in 16 22 24 32 48 64 128 256; do
  folder="$icons/hicolor/${size}x${size}/apps"
  mkdir -p "$folder"
  rsvg-convert --width "$size" --height "$size" "$icons/$name.svg" --output "$folder/$name.png"
  echo "$folder/$name.png"
done
