#!/bin/bash
# Makes the tiny Ogg and MP4 files that OggFileTest.cpp and MP4fileTest.cpp check against the
# figures of ffprobe, mediainfo and mutagen. Needs Debian's opus-tools, vorbis-tools and ffmpeg.
# Run from anywhere; writes next to itself. The reference values in the tests came from
#   ffprobe -v error -show_entries stream=codec_name,profile,sample_rate,channels,bit_rate,duration:format=duration,bit_rate FILE
#   mediainfo FILE
#   python3 -c "import mutagen, sys; f = mutagen.File(sys.argv[1]); print(f.info.pprint()); print(f.tags)" FILE
# for the files this script made; rerunning it with other encoder versions may change them.
# This ffmpeg's AAC encoder writes AAC LC only: the HE-AAC signalling cases are built from bytes
# in MP4fileTest.cpp.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tone() {  # tone NAME RATE CHANNELS SECONDS
  ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=$2:duration=$4" \
    -ac "$3" -af volume=0.05 -c:a pcm_s16le -bitexact "$work/$1.wav"
}

tone stereo44 44100 2 1.5
tone mono22 22050 1 1.5
tone mono8 8000 1 1.5

# Opus from a 44.1 kHz source: the header keeps the input rate, the stream runs at 48 kHz.
opusenc --quiet --bitrate 16 --serial 1234 \
  --artist "Test Artist" --title "Zażółć gęślą jaźń" --album "Fixtures" --date 2024 \
  --genre Test --comment "ALBUMARTIST=Various" --comment TRACKNUMBER=3 \
  "$work/stereo44.wav" opus-tagged.opus

# Vorbis, mono 22.05 kHz at the lowest quality, with tags.
oggenc --quiet -q -1 --serial 4321 \
  -a "Test Artist" -t "Vorbis Title" -l "Fixtures" -d 2023 -G Rock -N 7 \
  -o vorbis-tagged.ogg "$work/mono22.wav"

# AAC LC in MP4 from ffmpeg's own encoder; the muxer writes "Lavf…" as the encoding tool.
ffmpeg -v error -i "$work/stereo44.wav" -c:a aac -b:a 24k \
  -metadata artist="Test Artist" -metadata title="AAC Title" -metadata album="Fixtures" \
  -metadata date=2022 -metadata genre=Jazz -metadata album_artist="Various" \
  -y aac-lc.m4a

# ALAC in MP4, mono 8 kHz 16 bit, tagged.
ffmpeg -v error -i "$work/mono8.wav" -c:a alac \
  -metadata artist="Test Artist" -metadata title="ALAC Title" -metadata album="Fixtures" \
  -metadata date=2021 -metadata genre=Blues \
  -y alac.m4a

ls -l ./*.opus ./*.ogg ./*.m4a
