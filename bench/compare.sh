#!/usr/bin/env bash
# Times velmora-cli against reference tools on the same generated folders and prints every figure
# with its ratio. Figures are medians of repeated wall-clock runs with the files in the page cache,
# velmora-cli and the reference tool taking turns (bench/time_pair.py); still, run it on a quiet
# machine and repeat it when another job shares the cores. Sections 5 to 8 drive the real window
# offscreen (build/perf/bench/velmora_window_bench): how long it goes unanswered during a checksum
# pass, its start-up, its analysis time beside velmora-cli's, and how it copes with a share where
# every open and read takes 300 ms. Section 9 times the audio analysis
# (build/perf/bench/velmora_audio_scan) against loudgain and ffmpeg and takes its peak memory on a
# two-hour 24/96 track.
#
#   bench/compare.sh [--runs N] [--work DIR] [--cli PATH] [--build DIR] [--only cli|window|audio]
#
# The optimised program is built into build/perf (or the --build folder) when --cli is not given,
# and the benches there (release, -DVELMORA_BUILD_BENCH=ON) when their sections run. --only runs
# sections 1 to 4 (cli), 5 to 8 (window) or 9 (audio). The test folders are made once under the
# work folder (about 2.1 GiB, and 1.2 GiB more for the audio section) and reused by later runs.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=10
work=${TMPDIR:-/tmp}/velmora-bench
cli=""
build=build/perf
only=""

while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --cli) cli=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    -h|--help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "Unknown argument: $1" >&2; exit 2 ;;
  esac
done

for tool in rhash cksfv md5sum mediainfo lame strace script python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "Missing $tool: run scripts/setup.sh first." >&2
    exit 1
  fi
done

case "$only" in
  ""|cli|window|audio) ;;
  *) echo "--only takes cli, window or audio, not $only" >&2; exit 2 ;;
esac
if [ "$only" != audio ] || [ -n "$cli" ]; then
  program_sections=yes
else
  program_sections=""
fi

targets=()
if [ -z "$cli" ] && [ -n "$program_sections" ]; then
  targets+=(velmora-cli)
  cli=$root/$build/program/velmora-cli
fi
if [ "$only" = "" ] || [ "$only" = window ]; then
  targets+=(velmora_window_bench)
fi
if [ "$only" = "" ] || [ "$only" = audio ]; then
  targets+=(velmora_audio_scan)
fi
window_bench=$root/$build/bench/velmora_window_bench
audio_scan=$root/$build/bench/velmora_audio_scan
if [ ${#targets[@]} -gt 0 ]; then
  (cd "$root" && cmake --preset release -B "$build" -DVELMORA_BUILD_BENCH=ON >/dev/null &&
    cmake --build "$build" --target "${targets[@]}" >/dev/null)
fi
if [ -n "$program_sections" ]; then
  cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
  program_dir=$(dirname "$cli")
fi

album=$work/album        # 8 tracks of 64 MiB
audio_album=$work/audio-album  # 8 FLAC tracks of 30 s for the audio analysis
audio_long=$work/audio-long    # one FLAC track of two hours at 96 kHz/24 bits
single=$work/single      # one track of 512 MiB
window_album=$work/window-album  # 4 tracks of 256 MiB, for the window's checksum pass
small=$work/small        # 1000 short lame-encoded tracks
results=$work/results
mkdir -p "$work" "$results"

# A real MPEG frame sequence in front keeps the stream readers' search short; the random bytes
# behind it are what the checksums spend their time on.
make_payload_track() {  # path, MiB of random payload
  { cat "$work/head.mp3"; head -c "$(($2 * 1024 * 1024))" /dev/urandom; } >"$1"
}

make_checksum_folders() {
  if [ ! -f "$work/head.mp3" ]; then
    head -c 176400 /dev/urandom |
      lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 128 --cbr - "$work/head.mp3" 2>/dev/null
  fi
  if [ ! -f "$album/.complete" ]; then
    rm -rf "$album" && mkdir -p "$album"
    for track in 01 02 03 04 05 06 07 08; do
      make_payload_track "$album/$track - Track $track.mp3" 64
    done
    touch "$album/.complete"
  fi
  if [ ! -f "$single/.complete" ]; then
    rm -rf "$single" && mkdir -p "$single"
    make_payload_track "$single/01 - Long Track.mp3" 512
    touch "$single/.complete"
  fi
  if [ ! -f "$window_album/.complete" ]; then
    rm -rf "$window_album" && mkdir -p "$window_album"
    for track in 01 02 03 04; do
      make_payload_track "$window_album/$track - Track $track.mp3" 256
    done
    touch "$window_album/.complete"
  fi
}

# One tiny file per track, each encoded on its own with its own tags; three encoder settings
# (CBR, VBR with a Xing header, MPEG 2 mono) so that every branch of the MPEG reader runs.
encode_small_track() {  # index
  local index=$1 name settings
  name=$(printf '%04d - Artist %d - Title %d.mp3' "$index" "$((index % 7))" "$index")
  case $((index % 3)) in
    0) settings=(-b 128 --cbr) ;;
    1) settings=(-V 4) ;;
    2) settings=(-m m --resample 22.05 -b 32 --cbr) ;;
  esac
  head -c $((44100 * 4 * (1 + index % 3) / 2)) /dev/urandom |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian "${settings[@]}" \
      --add-id3v2 --ta "Artist $((index % 7))" --tt "Title $index" --tl "Album" --ty 2024 \
      --tn "$index" - "$small/$name" 2>/dev/null
}
export -f encode_small_track
export small

make_small_folder() {
  if [ -f "$small/.complete" ]; then
    return
  fi
  rm -rf "$small" && mkdir -p "$small"
  seq 1 1000 | xargs -P "$(nproc)" -I{} bash -c 'encode_small_track {}'
  touch "$small/.complete"
}

# The files are put into the page cache as reading them from disk would: dropped from it first,
# then read once. How a file was written decides how the cache holds it (a file written in small
# pieces stays in small pages and copies out several times slower than one read back from disk),
# so a freshly generated folder would not show what an album that was played or copied shows.
warm_cache() {
  sync
  local files=("$album"/*.mp3 "$single"/*.mp3 "$window_album"/*.mp3 "$small"/*.mp3)
  python3 - "${files[@]}" <<'EOF'
import os, sys
for path in sys.argv[1:]:
    fd = os.open(path, os.O_RDONLY)
    os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
    os.close(fd)
EOF
  cat "${files[@]}" >/dev/null
}

if [ "$only" != audio ]; then
  echo "Preparing the test folders in $work ..."
  make_checksum_folders
  make_small_folder
  warm_cache
fi

# Median seconds of velmora-cli and of a reference tool, measured in alternation.
pair() {  # velmora command... -- reference command...
  python3 "$root/bench/time_pair.py" "$runs" "$@"
}

# Prints "name  time  ratio  target  met" with ratio = reference time / velmora time, the target
# being the least ratio; with "at-most", ratio = velmora time / reference time and the target the
# greatest ratio (for the window, whose reference is velmora-cli).
report() {  # name, velmora seconds, reference seconds, target ratio [at-most]
  python3 - "$@" <<'EOF'
import sys
name, mine, reference, target = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4])
at_most = sys.argv[5:] == ["at-most"]
ratio = mine / reference if at_most else reference / mine
met = ratio <= target if at_most else ratio >= target
bound = "<= " if at_most else ""
print(f"  {name:<46} {mine*1000:8.1f} ms vs {reference*1000:8.1f} ms  {ratio:6.2f}x  (target {bound}{target:g}x: {'met' if met else 'NOT MET'})")
EOF
}

# Prints "name  figure  target  met" for a figure that must stay below a limit.
report_limit() {  # name, figure in ms, limit in ms
  python3 - "$@" <<'EOF'
import sys
name, figure, limit = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
print(f"  {name:<46} {figure:8.1f} ms  (target < {limit:g} ms: {'met' if figure < limit else 'NOT MET'})")
EOF
}

if [ "$only" != audio ]; then
  album_files=("$album"/*.mp3)
  single_files=("$single"/*.mp3)
  album_mib=$(du -m --apparent-size -c "${album_files[@]}" | tail -1 | cut -f1)
  single_mib=$(du -m --apparent-size -c "${single_files[@]}" | tail -1 | cut -f1)
  cd "$program_dir"
fi

cli_sections() {
  echo
  echo "1. SFV pass over an album (${#album_files[@]} files, $album_mib MiB)"
  read -r velmora_sfv rhash_crc < <(pair "$cli" --json --checksum sfv "$album" -- \
    rhash --crc32 "${album_files[@]}")
  report "velmora-cli --checksum sfv vs rhash --crc32" "$velmora_sfv" "$rhash_crc" 5
  read -r velmora_sfv cksfv_crc < <(pair "$cli" --json --checksum sfv "$album" -- \
    cksfv "${album_files[@]}")
  report "velmora-cli --checksum sfv vs cksfv" "$velmora_sfv" "$cksfv_crc" 10
  python3 -c "import sys; print(f'  velmora-cli SFV throughput: {float(sys.argv[1]) / float(sys.argv[2]):.0f} MiB/s')" \
    "$album_mib" "$velmora_sfv"

  echo
  echo "2. MD5 pass"
  read -r velmora_md5 md5sum_time < <(pair "$cli" --json --checksum md5 "$single" -- \
    md5sum "${single_files[@]}")
  report "one file of $single_mib MiB: velmora-cli vs md5sum" "$velmora_md5" "$md5sum_time" 0.95
  read -r velmora_md5 md5sum_time < <(pair "$cli" --json --checksum md5 "$album" -- \
    md5sum "${album_files[@]}")
  report "album of ${#album_files[@]} files: velmora-cli vs md5sum" "$velmora_md5" "$md5sum_time" 1.6

  echo
  echo "3. Analysis of 1000 small MP3 files (velmora-cli --json --checksum none)"
  read -r velmora_scan mediainfo_scan < <(pair "$cli" --json --checksum none "$small" -- \
    mediainfo "$small")
  report "velmora-cli vs mediainfo" "$velmora_scan" "$mediainfo_scan" 10
  peak_kib=$(python3 -c '
import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$cli" --json --checksum none "$small")
  python3 -c "import sys; k=int(sys.argv[1]); print(f'  peak memory: {k/1024:.1f} MiB (target < 64 MiB: {\"met\" if k < 64*1024 else \"NOT MET\"})')" "$peak_kib"
  strace -f -c -o "$results/strace.txt" "$cli" --json --checksum none "$small" >/dev/null
  python3 - "$results/strace.txt" 1000 <<'EOF'
import sys
counts = {}
for line in open(sys.argv[1]):
    fields = line.split()
    if len(fields) >= 5 and fields[0][0].isdigit() and fields[-1].isidentifier() and fields[-1] != "total":
        counts[fields[-1]] = int(fields[3])
files = int(sys.argv[2])
total = sum(counts.values())
top = sorted(counts.items(), key=lambda item: -item[1])[:5]
print(f"  system calls: {total / files:.1f} per file ("
      + ", ".join(f"{name} {count / files:.1f}" for name, count in top) + ")")
EOF

  echo
  echo "4. Checksum pass as a job, progress on a terminal (velmora-cli --checksum md5 in a pseudo-terminal)"
  # The progress lines go to standard error when it is a terminal; script(1) provides one.
  script -qec "$(printf '%q ' "$cli" --json --checksum md5 "$album") >/dev/null" /dev/null |
    tr '\r' '\n' | grep -a '^\[' >"$results/progress.txt" || true
  python3 - "$results/progress.txt" "${#album_files[@]}" <<'EOF'
import re, sys
lines = [line.rstrip() for line in open(sys.argv[1], errors="replace") if line.strip()]
count = int(sys.argv[2])
tracks = [int(m.group(1)) for m in (re.match(r"\[\s*\d+%\] (\d+)/", l) for l in lines) if m]
for line in lines:
    print("  " + re.sub(r"\x1b\[K", "", line))
in_order = tracks == list(range(1, count + 1))
print(f"  {len(tracks)} updates, in track order: {'met' if in_order else 'NOT MET'}")
EOF
}

# One analysis in the window against velmora-cli, both on the folder given: the window's time from
# the "Dalej >" click to AnalysisEnded and its pauses, velmora-cli's wall time (start-up and scan
# included), taking turns run by run.
window_pair() {  # checksum kind (sfv, md5, none), folder
  python3 "$root/bench/window_pair.py" "$runs" "$window_bench" analyse --checksum "$1" "$2" -- \
    "$cli" --json --checksum "$1" "$2"
}

window_sections() {
  # Offscreen whatever the session offers, so that it runs over ssh and opens nothing on a desktop.
  export QT_QPA_PLATFORM=offscreen
  local window_files=("$window_album"/*.mp3) kind window_time cli_time worst_gap median_gap p99_gap
  local window_mib
  window_mib=$(du -m --apparent-size -c "${window_files[@]}" | tail -1 | cut -f1)
  echo
  echo "5. The window: checksum pass over ${#window_files[@]} files, $window_mib MiB (velmora_window_bench," \
    "offscreen; \"Dalej >\" to AnalysisEnded vs velmora-cli --json --checksum KIND)"
  for kind in sfv md5; do
    read -r window_time cli_time worst_gap median_gap p99_gap < <(window_pair "$kind" "$window_album")
    report "${kind^^}: window vs velmora-cli" "$window_time" "$cli_time" 1.1 at-most
    report_limit "${kind^^}: longest the window went unanswered" "$worst_gap" 50
    echo "  ${kind^^}: longest pause, median of the runs: $median_gap ms; 99th percentile: $p99_gap ms"
  done

  echo
  echo "6. The window: start-up to the main window shown (a fresh process a run, program folder" \
    "copied from data/, language=english.lng)"
  local startup_dir=$work/window-program startup_line
  rm -rf "$startup_dir" && cp -r "$root/data" "$startup_dir"
  startup_line=$("$window_bench" startup --runs "$runs" "$startup_dir" 2>/dev/null)
  report_limit "median of $runs starts" "$(figure median_ms "$startup_line")" 300
  echo "  fastest $(figure min_ms "$startup_line") ms, slowest $(figure max_ms "$startup_line") ms"

  echo
  echo "7. The window: analysis of 1000 small MP3 files, no checksums (\"Dalej >\" to AnalysisEnded" \
    "vs velmora-cli --json --checksum none)"
  read -r window_time cli_time worst_gap median_gap p99_gap < <(window_pair none "$small")
  report "window vs velmora-cli" "$window_time" "$cli_time" 1.5 at-most
  echo "  longest pause: $worst_gap ms (median of the runs $median_gap ms; 99th percentile $p99_gap ms)"

  echo
  echo "8. The window on a slow share: 100 tracks whose every open and read takes 300 ms (a delay" \
    "in the file layer); the track pass watched for 3 s, then the window closed"
  local slow=$work/slow-share slow_line
  if [ ! -d "$slow" ]; then
    mkdir -p "$slow"
    local small_files=("$small"/*.mp3)
    cp "${small_files[@]:0:100}" "$slow/"
  fi
  slow_line=$("$window_bench" slowshare --delay-ms 300 --watch-ms 3000 "$slow" 2>/dev/null)
  report_limit "longest the window went unanswered" "$(figure max_gap_ms "$slow_line")" 50
  # A read or an open in flight cannot be cut short: one access's delay, and a little.
  report_limit "closing the window during the track pass" "$(figure close_ms "$slow_line")" 350
  echo "  tracks read while watched: $(figure tracks_read "$slow_line");" \
    "99th percentile of the pauses: $(figure p99_gap_ms "$slow_line") ms"
}

# An album of 8 tracks of 30 s, 44.1 kHz stereo 16-bit FLAC, each different: pink noise in both
# channels (not the same in each), a tone, a swell of the level over 7 seconds, and short bursts,
# so that the DR blocks, the loudness range and the true peak all have work to do. And one track
# of two hours at 96 kHz and 24 bits for the peak memory.
make_audio_folders() {
  local track seconds=30
  if [ ! -f "$audio_album/.complete" ]; then
    rm -rf "$audio_album" && mkdir -p "$audio_album"
    for track in 1 2 3 4 5 6 7 8; do
      ffmpeg -v error -filter_complex \
        "anoisesrc=color=pink:amplitude=0.5:duration=$seconds:seed=$track[a];
         anoisesrc=color=pink:amplitude=0.5:duration=$seconds:seed=$((track + 100))[b];
         sine=frequency=$((180 + track * 37)):duration=$seconds[c];
         [a][b]join=inputs=2:channel_layout=stereo[n];[c]aformat=channel_layouts=stereo[t];
         [n][t]amix=inputs=2:weights=1 0.6,
         volume='0.9+0.6*sin(2*PI*t/7)*(1+0.5*gt(mod(t\,3.3)\,3.1))':eval=frame" \
        -ar 44100 -sample_fmt s16 -c:a flac "$audio_album/0$track - Track $track.flac"
    done
    touch "$audio_album/.complete"
  fi
  if [ ! -f "$audio_long/.complete" ]; then
    rm -rf "$audio_long" && mkdir -p "$audio_long"
    ffmpeg -v error -filter_complex \
      "sine=frequency=220:duration=7200:sample_rate=96000[a];
       sine=frequency=3300:duration=7200:sample_rate=96000[b];
       anoisesrc=color=pink:amplitude=0.01:duration=7200:sample_rate=96000:seed=5[c];
       [a][b][c]amix=inputs=3,aformat=channel_layouts=stereo,
       volume='1.5+sin(2*PI*t/60)':eval=frame" \
      -sample_fmt s32 -bits_per_raw_sample 24 -c:a flac "$audio_long/01 - Long.flac"
    touch "$audio_long/.complete"
  fi
}

# The whole analysis of each track (decode, DR, loudness, true peak, ReplayGain, spectrum) against
# loudgain's ReplayGain 2.0 scan with true peaks (-k) and the extra tags (-s e, written into a copy
# of the album), and against ffmpeg only decoding the same files (the floor under both).
audio_sections() {
  local tool
  for tool in ffmpeg loudgain taskset; do
    if ! command -v "$tool" >/dev/null; then
      echo "Missing $tool: run scripts/setup.sh first." >&2
      exit 1
    fi
  done
  echo "Preparing the audio folders in $work (the two-hour track takes a few minutes once) ..."
  make_audio_folders
  local files=("$audio_album"/*.flac) tagged=$work/audio-album-tagged
  rm -rf "$tagged" && cp -r "$audio_album" "$tagged"
  local tagged_files=("$tagged"/*.flac) decode=() index=0 file
  for file in "${files[@]}"; do
    decode+=(-i "$file")
  done
  for file in "${files[@]}"; do
    decode+=(-map "$index:a" -f null -)
    index=$((index + 1))
  done
  cat "${files[@]}" >/dev/null

  echo
  echo "9. Audio analysis of ${#files[@]} tracks of 30 s, 44.1 kHz stereo 16-bit FLAC" \
    "(velmora_audio_scan: DR, loudness, true peak, ReplayGain, spectrum)"
  local one two loudgain_one loudgain_two decoded
  read -r one loudgain_one < <(pair taskset -c 0 "$audio_scan" --threads 1 "${files[@]}" -- \
    taskset -c 0 loudgain -q -a -k -s e "${tagged_files[@]}")
  report "one core: velmora vs loudgain -a -k -s e" "$one" "$loudgain_one" 1
  read -r two loudgain_two < <(pair "$audio_scan" --threads 2 "${files[@]}" -- \
    loudgain -q -a -k -s e "${tagged_files[@]}")
  report "two tracks at once vs loudgain (one core)" "$two" "$loudgain_two" 1.6
  read -r one decoded < <(pair taskset -c 0 "$audio_scan" --threads 1 "${files[@]}" -- \
    taskset -c 0 ffmpeg -v error -nostdin -threads 1 "${decode[@]}")
  python3 -c "import sys; o, d = float(sys.argv[1]), float(sys.argv[2]); print(f'  one core: {o*1000:.1f} ms vs ffmpeg decoding alone {d*1000:.1f} ms: the analysis takes {o/d:.2f}x the decoding time; {8*30/o:.0f}x real time')" \
    "$one" "$decoded"

  local long=("$audio_long"/*.flac) peak_kib
  peak_kib=$(python3 -c '
import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$audio_scan" "${long[@]}")
  python3 -c "import sys; k=int(sys.argv[1]); print(f'  peak memory, one track of 2 hours at 96 kHz/24 bits: {k/1024:.1f} MiB (target < 64 MiB: {\"met\" if k < 64*1024 else \"NOT MET\"})')" "$peak_kib"
}

# The value of key=value in a line of velmora_window_bench.
figure() {  # key, line
  tr ' ' '\n' <<<"$2" | sed -n "s/^$1=//p"
}

echo "Load average before measuring: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores;" \
  "medians of $runs alternating runs"
if [ "$only" = "" ] || [ "$only" = cli ]; then
  cli_sections
fi
if [ "$only" = "" ] || [ "$only" = window ]; then
  window_sections
fi
if [ "$only" = "" ] || [ "$only" = audio ]; then
  audio_sections
fi
