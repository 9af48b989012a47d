#!/bin/bash
# Makes the tiny WavPack and Musepack SV8 files that WavPackTest.cpp and MusepackSV8Test.cpp check
# against the figures of wvunpack, mediainfo and mutagen. Needs Debian's wavpack (5.6.0),
# musepack-tools (mpcenc 1.30.1) and ffmpeg. Run from anywhere; writes next to itself. The
# reference values in the tests came from
#   wvunpack -s FILE
#   mediainfo FILE
#   python3 -c "import mutagen, sys; f = mutagen.File(sys.argv[1]); print(f.info.pprint())" FILE
# for the files this script made; rerunning it with other encoder versions may change them.
# ffprobe 5.1 gives no duration for SV8 and none for a WavPack file of unknown length, so it is
# not used for those.
#
# Each source is a short tone followed by digital silence: WavPack spends about one bit per sample
# on any signal, and the silence keeps the files at a few KB while they still last 1 to 2.5 s.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tone() {  # tone NAME RATE CHANNELS TONE_SECONDS TOTAL_SECONDS CODEC
  ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=$2:duration=$4" -ac "$3" \
    -af "volume=0.05,apad=whole_dur=$5" -c:a "$6" -bitexact "$work/$1.wav"
}

tone stereo16 44100 2 0.1 1.5 pcm_s16le
tone stereo24 48000 2 0.1 1.2 pcm_s24le
tone mono16 22050 1 0.1 2.5 pcm_s16le
tone hybrid16 44100 2 0.25 1.5 pcm_s16le
tone surround 8000 6 0.1 1.0 pcm_s16le
tone odd-rate 44056 1 0.1 1.0 pcm_s16le

wavpack -q -y "$work/stereo16.wav" -o wavpack-16.wv
wavpack -q -y "$work/stereo24.wav" -o wavpack-24.wv
wavpack -q -y "$work/mono16.wav" -o wavpack-mono.wv
# A rate outside WavPack's table of 15 is stored in a metadata sub-block of its own.
wavpack -q -y "$work/odd-rate.wav" -o wavpack-44056.wv
# Lossy hybrid mode at the lowest rate the encoder accepts (24 kbit/s is held at its floor).
wavpack -q -y -b24 "$work/hybrid16.wav" -o wavpack-hybrid.wv
wavpack -q -y -w "Artist=Test Artist" -w "Title=WavPack Title" "$work/stereo16.wav" \
  -o wavpack-apetag.wv
# 20 bits in a 3-byte container: the block header's shift says how many bits are left unused.
ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=0.1" -ac 2 \
  -af "apad=whole_dur=1.0" -f s24le -bitexact "$work/stereo20.pcm"
wavpack -q -y --pre-quantize=20 --raw-pcm=44100,20s,2,le "$work/stereo20.pcm" -o wavpack-20bit.wv
# From a pipe to a pipe the encoder cannot go back to write the length into the first block:
# every block says "length unknown" (it warns that it could not). Six channels also give several
# blocks per group of samples. The input must be a real pipe: from a redirected file the encoder
# takes the length from the file's size.
cat "$work/surround.wav" | wavpack -q -y -i - -o - >wavpack-unknown-length.wv

mpcenc --silent --overwrite "$work/stereo16.wav" mpc-sv8.mpc
mpcenc --silent --overwrite --artist "Test Artist" --title "MPC Title" "$work/stereo16.wav" \
  mpc-sv8-apetag.mpc

ls -l ./wavpack-*.wv ./mpc-sv8*.mpc
