#!/usr/bin/env bash
# Times velmora-cli against reference tools on the same generated folders and prints every figure
# with its ratio. Figures are medians of repeated wall-clock runs with the files in the page cache,
# velmora-cli and the reference tool taking turns (bench/time_pair.py); still, run it on a quiet
# machine and repeat it when another job shares the cores.
#
#   bench/compare.sh [--runs N] [--work DIR] [--cli PATH]
#
# The optimised program is built into build/perf when --cli is not given. The test folders are made
# once under the work folder (about 1.1 GiB) and reused by later runs.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=10
work=${TMPDIR:-/tmp}/velmora-bench
cli=""

while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --cli) cli=$2; shift 2 ;;
    -h|--help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "Unknown argument: $1" >&2; exit 2 ;;
  esac
done

for tool in rhash cksfv md5sum mediainfo lame strace script python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "Missing $tool: run scripts/setup.sh first." >&2
    exit 1
  fi
done

if [ -z "$cli" ]; then
  (cd "$root" && cmake --preset release -B build/perf >/dev/null &&
    cmake --build build/perf --target velmora-cli >/dev/null)
  cli=$root/build/perf/program/velmora-cli
fi
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
program_dir=$(dirname "$cli")

album=$work/album        # 8 tracks of 64 MiB
single=$work/single      # one track of 512 MiB
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
  python3 - "$album"/*.mp3 "$single"/*.mp3 "$small"/*.mp3 <<'EOF'
import os, sys
for path in sys.argv[1:]:
    fd = os.open(path, os.O_RDONLY)
    os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
    os.close(fd)
EOF
  cat "$album"/*.mp3 "$single"/*.mp3 "$small"/*.mp3 >/dev/null
}

echo "Preparing the test folders in $work ..."
make_checksum_folders
make_small_folder
warm_cache

# Median seconds of velmora-cli and of a reference tool, measured in alternation.
pair() {  # velmora command... -- reference command...
  python3 "$root/bench/time_pair.py" "$runs" "$@"
}

# Prints "name  time  ratio  target  met" with ratio = reference time / velmora time.
report() {  # name, velmora seconds, reference seconds, target ratio
  python3 - "$@" <<'EOF'
import sys
name, mine, reference, target = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4])
ratio = reference / mine
verdict = "met" if ratio >= target else "NOT MET"
print(f"  {name:<46} {mine*1000:8.1f} ms vs {reference*1000:8.1f} ms  {ratio:6.2f}x  (target {target:g}x: {verdict})")
EOF
}

album_files=("$album"/*.mp3)
single_files=("$single"/*.mp3)
album_mib=$(du -m --apparent-size -c "${album_files[@]}" | tail -1 | cut -f1)
single_mib=$(du -m --apparent-size -c "${single_files[@]}" | tail -1 | cut -f1)
cd "$program_dir"

echo "Load average before measuring: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores;" \
  "medians of $runs alternating runs"
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
