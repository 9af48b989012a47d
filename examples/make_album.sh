#!/usr/bin/env bash
# Makes the sample album: four short tones encoded by lame with ID3v1 and ID3v2 tags.
# Needs ffmpeg and lame (scripts/setup.sh installs both). The files are committed; run this only
# to make them again.
set -euo pipefail
cd "$(dirname "$0")"
mkdir -p album
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

track() {  # number frequency title
  local number=$1 frequency=$2 title=$3
  ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=${frequency}:duration=2" \
    -ac 1 -ar 22050 "$tmp/$number.wav"
  lame --quiet -b 32 --tt "$title" --ta "Velmora Ensemble" --tl "Sample Tones" --ty 2024 \
    --tn "$number/4" --tg "Ambient" --add-id3v2 "$tmp/$number.wav" "album/$number - $title.mp3"
}

track 01 220 "Low Hum"
track 02 330 "Middle Ground"
track 03 440 "Concert Pitch"
track 04 660 "High Note"
