#!/usr/bin/env bash
# Makes the program's JPEG pictures in data/: the splash window's 536 x 74 banner, the about box's
# picture and the donation button of page 1. Needs ImageMagick and the DejaVu and Liberation fonts
# (scripts/setup.sh installs them). The pictures are committed; run this only to make them again.
set -euo pipefail
cd "$(dirname "$0")/../data"

sans=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
mono=/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf

# A dark blue band with the name in white and a line of the NFO's dotted labels behind it.
banner() {  # output width height title-size
  local output=$1 width=$2 height=$3 size=$4
  convert -size "${width}x${height}" gradient:'#1d2b4f-#3d5a99' \
    -font "$mono" -pointsize 11 -fill '#5f7cc0' \
    -annotate +12+$((height - 10)) 'Artist.......: Album........: Codec........: Tracklisting' \
    -font "$sans" -pointsize "$size" -fill white -gravity west -annotate +14-6 'Velmora' \
    -font "$sans" -pointsize 12 -fill '#dfe7ff' -gravity east \
    -annotate +14-6 'NFO files for music releases' \
    -quality 90 -strip "$output"
}

banner splash.jpg 536 74 34
banner about.jpg 360 74 28

convert -size 88x31 gradient:'#f7d25c-#e09b1b' -bordercolor '#8a5a00' -border 1 \
  -font "$sans" -pointsize 12 -fill '#3b2500' -gravity center -annotate +0+0 'DONATE' \
  -quality 92 -strip donate.jpg
