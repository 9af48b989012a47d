#!/bin/bash
# Makes the tiny real audio files that the reader tests check against ffprobe's figures.
# Needs Debian's lame, flac (with metaflac) and ffmpeg. Run from anywhere; writes next to itself.
# The reference values in tests/readers/RealFilesTest.cpp came from
#   ffprobe -v error -show_entries stream=sample_rate,channels,bit_rate,duration:format=duration,bit_rate FILE
# for the files this script made; rerunning it with other encoder versions may change them.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tone() {  # tone NAME RATE CHANNELS SECONDS
  ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=$2:duration=$4" \
    -ac "$3" -af volume=0.05 -c:a pcm_s16le -bitexact "$work/$1.wav"
}

tone cd 44100 2 1.5
tone low 32000 1 1.5
tone mpeg2 16000 1 1.5

# MPEG 1 layer III, constant 32 kbit/s mono; LAME writes an "Info" frame first.
lame --quiet --noreplaygain -b 32 -m m --resample 32 "$work/low.wav" lame-cbr.mp3
# MPEG 1 layer III, variable bit rate with a Xing header and the LAME vendor text.
lame --quiet --noreplaygain -V 9 --resample 32 -m j "$work/cd.wav" lame-vbr.mp3
# MPEG 2 layer III, mono, 24 kbit/s.
lame --quiet --noreplaygain -b 24 -m m "$work/mpeg2.wav" mpeg2-mono.mp3
# MPEG 1 layer II from ffmpeg's own encoder, stored with the .mp3 extension.
ffmpeg -v error -i "$work/low.wav" -c:a mp2 -b:a 32k -f mp2 ffmpeg-layer2.mp3 -y

# FLAC with Vorbis comments and a front cover picture.
ffmpeg -v error -f lavfi -i color=red:size=8x8 -frames:v 1 "$work/cover.png"
tone flac 8000 1 1.5
flac --silent --best --no-padding --force -o tagged.flac "$work/flac.wav"
metaflac --dont-use-padding --remove-all-tags \
  --set-tag="TITLE=Zażółć gęślą jaźń" \
  --set-tag="ARTIST=Test Artist" \
  --set-tag="ALBUM=Fixtures" \
  --set-tag="DATE=2024" \
  --set-tag="GENRE=Test" \
  --set-tag="TRACKNUMBER=3" \
  --set-tag="LABEL=Nobody" \
  --import-picture-from="3|image/png|Front|8x8x24|$work/cover.png" \
  tagged.flac

ls -l ./*.mp3 ./*.flac
