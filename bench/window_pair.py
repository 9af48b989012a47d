#!/usr/bin/env python3
"""Times one analysis in the window against velmora-cli on the same folder and prints the
medians, the two taking turns round after round as in time_pair.py.

    window_pair.py RUNS WINDOW_BENCH... -- VELMORA_CLI...

WINDOW_BENCH is a "velmora_window_bench analyse" command: a fresh process each round that times
the analysis itself (from the "Dalej >" click to AnalysisEnded) and prints its "window-analysis"
line. velmora-cli is timed on the wall clock less the cost of starting a process, so its figure
also holds its own start-up and folder scan, which the window's click does not.
Output: "<window seconds> <cli seconds> <worst max gap ms> <median max gap ms> <median p99 gap ms>",
the gaps being the longest time (and the 99th percentile of the times) that the window's thread
answered no event during the analysis.
"""

import statistics
import subprocess
import sys

from time_pair import interleaved_samples, pair_arguments, run_once, spawn_seconds


def window_figures(argv):
    """The key=value figures of the window bench's "window-analysis" line."""
    done = subprocess.run(argv, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"command failed: {' '.join(argv)}\n{done.stderr}")
    for line in done.stdout.splitlines():
        name, *fields = line.split()
        if name == "window-analysis":
            return {key: value for key, value in (field.split("=", 1) for field in fields)}
    sys.exit(f"no window-analysis line from: {' '.join(argv)}")


def main():
    runs, window, cli = pair_arguments(__doc__)
    spawn = spawn_seconds(runs)
    windows, clis = interleaved_samples(
        [lambda: window_figures(window), lambda: run_once(cli)], runs)

    def median(key):
        return statistics.median(float(figures[key]) for figures in windows)

    cli_seconds = max(statistics.median(clis) - spawn, 1e-6)
    worst_gap = max(float(figures["max_gap_ms"]) for figures in windows)
    print(f"{median('wall_ms') / 1000:.6f} {cli_seconds:.6f} {worst_gap:.3f} "
          f"{median('max_gap_ms'):.3f} {median('p99_gap_ms'):.3f}")


if __name__ == "__main__":
    main()
