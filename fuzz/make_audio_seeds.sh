#!/bin/bash
# Makes the seeds of fuzz_audio: a fifth of a second of a tone with noise in every format the
# program reads that Debian has an encoder for, each by its own encoder, a few KiB each (Monkey's
# Audio has none). Needs ffmpeg, lame, flac, opus-tools, vorbis-tools, wavpack, musepack-tools.
# Run from anywhere; rewrites fuzz/corpus/fuzz_audio/seed-*.
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)/corpus/fuzz_audio
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

ffmpeg -v error -filter_complex \
  "sine=frequency=1000:duration=0.2[a];anoisesrc=amplitude=0.05:duration=0.2:seed=3[b];[a][b]amix=inputs=2,aformat=channel_layouts=stereo" \
  -ar 44100 -c:a pcm_s16le -bitexact "$work/tone.wav"
ffmpeg -v error -i "$work/tone.wav" -c:a pcm_s24le -bitexact "$work/tone24.wav"

lame --quiet -b 64 "$work/tone.wav" "$out/seed-tone.mp3"
flac -s -f -o "$out/seed-tone.flac" "$work/tone.wav"
flac -s -f -o "$out/seed-tone24.flac" "$work/tone24.wav"
opusenc --quiet --bitrate 24 --serial 7 "$work/tone.wav" "$out/seed-tone.opus"
oggenc -Q -q 0 --serial 7 -o "$out/seed-tone.ogg" "$work/tone.wav"
ffmpeg -v error -y -i "$work/tone.wav" -c:a aac -b:a 32k -bitexact "$out/seed-tone-aac.m4a"
ffmpeg -v error -y -i "$work/tone.wav" -c:a alac -bitexact "$out/seed-tone-alac.m4a"
wavpack -q -y "$work/tone.wav" -o "$out/seed-tone.wv"
mpcenc --silent --overwrite --quality 2 "$work/tone.wav" "$out/seed-tone.mpc"
