#!/usr/bin/env bash
# Fuzzes every parser, one target after the other, each for a given time, and prints a summary.
#
#   fuzz/run.sh [-t SECONDS] [-b BUILD_DIR] [-o OUT_DIR] [TARGET...]
#
# SECONDS defaults to 60 per target, BUILD_DIR to build/fuzz (the fuzz preset; configured and built
# here when missing), OUT_DIR to BUILD_DIR/fuzz-out. Targets default to all of them. One fuzzer
# process runs at a time. New inputs go to OUT_DIR/corpus/TARGET, never into the committed seeds in
# fuzz/corpus; every crash, hang (-timeout=5) or out-of-memory (-rss_limit_mb=512) is left as a
# file in OUT_DIR/artifacts/TARGET with the fuzzer's log beside it. Exits 1 when any target found
# something. Extra libFuzzer flags can be passed in FUZZ_FLAGS.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
build=build/fuzz
out=""
while getopts "t:b:o:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    b) build=$OPTARG ;;
    o) out=$OPTARG ;;
    *) sed -n '2,11p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
out=${out:-$build/fuzz-out}

all_targets=(fuzz_id3v1 fuzz_id3v2 fuzz_apetag fuzz_mpegaudio fuzz_musepack fuzz_musepack_sv8
             fuzz_monkey fuzz_flac fuzz_ogg fuzz_mp4 fuzz_wavpack fuzz_ini fuzz_textfile fuzz_analysis
             fuzz_jpeg fuzz_audio fuzz_riplog fuzz_checksum_list)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")

if [ ! -f "$build/build.ninja" ]; then
  cmake --preset fuzz -B "$build"
fi
cmake --build "$build" --target velmora_fuzz_targets -j 2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
found=0
for target in "${targets[@]}"; do
  binary=$build/fuzz/$target
  [ -x "$binary" ] || { echo "no such fuzz target: $target" >&2; exit 2; }
  work=$out/corpus/$target
  artifacts=$out/artifacts/$target
  mkdir -p "$work" "$artifacts"
  log=$artifacts/fuzz.log
  echo "== $target: ${seconds}s"
  status=ok
  # shellcheck disable=SC2086
  if ! "$binary" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=512 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" ${FUZZ_FLAGS:-} "$work" fuzz/corpus/"$target" >"$log" 2>&1; then
    status=FAILED
    found=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 || true)
  kept=$(find "$artifacts" -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' \
           -o -name 'leak-*' -o -name 'slow-unit-*' \) | wc -l)
  summary+=("$(printf '%-16s %-7s runs=%-9s exec/s=%-6s %-10s artifacts=%s' "$target" "$status" \
    "${runs:-?}" "${speed:-?}" "${coverage:-cov: ?}" "$kept")")
  if [ "$status" != ok ]; then
    grep -m1 -E 'ERROR: |fuzz property violated|Test unit written' "$log" | sed 's/^/   /' || true
  fi
done

echo
echo "Fuzzing summary (${seconds}s per target, artifacts in $out/artifacts):"
printf '  %s\n' "${summary[@]}"
exit $found
