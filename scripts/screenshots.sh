#!/usr/bin/env bash
# Starts the real velmora under Xvfb (with a small window manager, for the frames and captions),
# works through the sample album with the keyboard as a user would, and saves a PNG of each page,
# of the mixed-format warning and of both pages of the options dialog in docs/screenshots/.
#
#   scripts/screenshots.sh [OUTPUT_FOLDER]
#
# Needs xvfb, openbox, xdotool and imagemagick (scripts/setup.sh installs them) and the release
# build (made here when missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

(cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release >/dev/null)

work=$(mktemp -d)
xvfb_pid="" wm_pid="" program_pid=""
cleanup() {
  for pid in $program_pid $wm_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A program folder of its own, so that the shots never touch the build's settings.
cp -r "$root/build/release/program" "$work/program"
# A release of two discs: the sample tracks in CD1, two of them again in CD2.
mkdir -p "$work/discs/CD1" "$work/discs/CD2"
cp "$root"/examples/album/*.mp3 "$work/discs/CD1/"
cp "$root"/examples/album/0[12]*.mp3 "$work/discs/CD2/"
# Three FLAC tracks of noise for the quality page, the last cut at 16 kHz as a lossy encoder
# would have.
mkdir "$work/quality"
for n in 1 2 3; do
  filter="volume=$((n * 3))dB"
  [ "$n" = 3 ] && filter="$filter,lowpass=f=16000:p=2,lowpass=f=16000:p=2"
  ffmpeg -loglevel error -f lavfi -i "anoisesrc=d=20:c=pink:a=0.25:r=44100" -ac 2 \
    -af "$filter" -sample_fmt s16 "$work/quality/0$n - Noise.flac"
done
# A folder of two formats for the warning: the sample tracks and two FLAC files.
mkdir "$work/mixed"
cp "$root"/examples/album/*.mp3 "$work/mixed/"
for n in 1 2; do
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=$((200 * n)):duration=1" "$work/mixed/0$n.flac"
done

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

step() { xdotool key --clearmodifiers "$@"; sleep 0.8; }
shot() {  # name: the active window with its frame
  import -window "$(xdotool getactivewindow)" -frame "$out/$1.png"
  echo "$out/$1.png"
}

start_program() {  # the folder the folder browser opens at
  sed -i "s|^defaultpath=.*|defaultpath=$1/|" "$work/program/nfo.ini"
  (cd "$work/program" && LC_ALL=C.UTF-8 exec ./velmora >/dev/null 2>&1) &
  program_pid=$!
  xdotool search --sync --name '^Velmora v' windowactivate --sync >/dev/null
  sleep 1
}

start_program "$root/examples/album"
step space                 # "..." has the focus at start: the folder browser opens at the album
step Return                # choose it
shot page-1-folder
step space                 # "Dalej >", which has the focus after a scan: analyse
sleep 1
shot page-2-tracks
step ctrl+Tab
shot page-3-release
step ctrl+Tab
shot page-4-nfo
step alt+f x               # File, Exit: the settings and the note are saved
wait "$program_pid" || true

start_program "$work/mixed"  # a folder of two formats
step space
step Return
shot mixed-format-warning
step Return                # its OK
step alt+o Return          # Options, Settings
shot options-general
step ctrl+Tab
shot options-language
step Escape
wait_closed() { step alt+F4; wait "$program_pid" || true; }
wait_closed

start_program "$work/discs"  # a release of two discs: page 2 with its disc column
step space
step Return
step space
sleep 1
shot two-discs
wait_closed

# The audio analysis on: the quality page after the analysis.
sed -i 's/^audiopass=.*/audiopass=1\r/' "$work/program/nfo.ini"
start_program "$work/quality"
step space
step Return
step space
sleep 4
step ctrl+Tab
shot quality
wait_closed
