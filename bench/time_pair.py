#!/usr/bin/env python3
"""Times two commands against each other and prints their median wall-clock seconds.

    time_pair.py RUNS COMMAND... -- REFERENCE...

The two commands take turns, round after round (each round in the other order than the one
before), so that a burst of load from another process on the machine falls on both alike; a
ratio taken from medians measured minutes apart would carry that noise instead. The cost of
starting a process is measured the same way with /bin/true and taken off both figures.
Output: "<command seconds> <reference seconds>".
"""

import os
import statistics
import sys
import time


def run_once(argv):
    """Wall-clock seconds of one run, output discarded; a failing command ends the script."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    try:
        actions = [
            (os.POSIX_SPAWN_DUP2, devnull, 1),
            (os.POSIX_SPAWN_DUP2, devnull, 2),
        ]
        start = time.perf_counter()
        pid = os.posix_spawnp(argv[0], argv, os.environ, file_actions=actions)
        _, status, _ = os.wait4(pid, 0)
        elapsed = time.perf_counter() - start
    finally:
        os.close(devnull)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"command failed: {' '.join(argv)}")
    return elapsed


def interleaved_samples(measures, runs):
    """Calls each measure (a function of no arguments that returns one sample) runs times, the
    measures taking turns round after round; returns one list of samples per measure."""
    for measure in measures:  # warm-up: caches, page cache, dynamic loader
        measure()
        measure()
    samples = [[] for _ in measures]
    for round_number in range(runs):
        order = range(len(measures)) if round_number % 2 == 0 else reversed(range(len(measures)))
        for index in order:
            samples[index].append(measures[index]())
    return samples


def interleaved_medians(commands, runs):
    measures = [lambda command=command: run_once(command) for command in commands]
    return [statistics.median(times) for times in interleaved_samples(measures, runs)]


def spawn_seconds(runs):
    """What starting and reaping a process costs, for taking it off a command's wall time."""
    return interleaved_medians([["true"]], runs)[0]


def pair_arguments(usage):
    """RUNS COMMAND... -- REFERENCE... from the command line; the usage text ends the script when
    they are not there."""
    if len(sys.argv) < 5 or "--" not in sys.argv[3:]:
        sys.exit(usage)
    split = sys.argv.index("--", 3)
    return int(sys.argv[1]), sys.argv[2:split], sys.argv[split + 1:]


def main():
    runs, command, reference = pair_arguments(__doc__)
    spawn = spawn_seconds(runs)
    mine, theirs = interleaved_medians([command, reference], runs)
    print(f"{max(mine - spawn, 1e-6):.6f} {max(theirs - spawn, 1e-6):.6f}")


if __name__ == "__main__":
    main()
