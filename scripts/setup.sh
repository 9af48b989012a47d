#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and benchmarks with. Idempotent: only
# missing packages are installed. As root it installs them; otherwise it prints the command.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config python3 clang-format
  # libraries
  qt6-base-dev libicu-dev libsimpleini-dev libdeflate-dev libssl-dev libturbojpeg0-dev libcurl4-openssl-dev
  # decoding for the audio analysis and the rip-log check, loudness
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev libebur128-dev
  # tests and tools that make or check fixtures
  libgtest-dev libgmock-dev libbenchmark-dev cksfv lame flac ffmpeg eyed3 python3-mutagen
  opus-tools vorbis-tools wavpack musepack-tools  # encoders of the reader fixtures
  rhash mediainfo hyperfine strace loudgain  # reference tools that bench/compare.sh measures against
  clang libclang-rt-14-dev  # libFuzzer and the sanitizers of the fuzz build
  fonts-liberation  # Liberation Mono: the NFO preview's font where Courier New is missing
  xvfb openbox xdotool imagemagick  # scripts/screenshots.sh: the real window on a virtual display
  dpkg-dev file lintian desktop-file-utils appstream man-db  # the Debian package and its checks
  librsvg2-bin  # scripts/render_icons.sh
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
