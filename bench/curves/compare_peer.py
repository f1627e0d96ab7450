#!/usr/bin/env python3
"""Runs bench_curves --translate and its numpy peer in turn on one curve file and prints both
and their ratio: the job's own wall and CPU times, and the whole process's wall time.

    /usr/bin/python3 bench/curves/compare_peer.py build/release/bench/bench_curves [strings] [runs] [scale]
    ... --procedures: the same for IEC 60891 procedures 2 and 4

With a fourth argument, the path of bench_curvescale, the document figures at that size (import,
select, deselect, meter import; median of the same number of runs) are taken first, in the same
run, so that both sets of figures come from one state of the machine.
"""

import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

FIGURES = re.compile(r"total ([\d.]+) ms \(cpu ([\d.]+) ms\), check ([\d.]+)")


def run(command):
    start = time.perf_counter()
    output = subprocess.run(command, capture_output=True, text=True, check=True).stdout
    wall = (time.perf_counter() - start) * 1e3
    match = FIGURES.search(output)
    if not match:
        sys.exit("no figures from %s:\n%s" % (command[0], output))
    return float(match.group(1)), float(match.group(2)), float(match.group(3)), wall


def main():
    procedures = "--procedures" in sys.argv
    arguments = [a for a in sys.argv if a != "--procedures"]
    mode = ["--translate-procedures"] if procedures else ["--translate"]
    peer_mode = ["--procedures"] if procedures else []
    bench = os.path.abspath(arguments[1])
    strings = arguments[2] if len(arguments) > 2 else "5000"
    runs = int(arguments[3]) if len(arguments) > 3 else 7
    peer = os.path.join(os.path.dirname(os.path.abspath(__file__)), "peer_translate.py")
    if len(arguments) > 4:
        env = dict(os.environ)
        env.setdefault("QT_QPA_PLATFORM", "offscreen")
        scale = subprocess.run([os.path.abspath(arguments[4]), strings, str(runs)], capture_output=True,
                               text=True, check=True, env=env).stdout
        print(scale.rstrip())
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "curves.kstcrv")
        subprocess.run([bench, "--make", path, strings], capture_output=True, check=True)
        ours, theirs = [], []
        run([bench] + mode + [path])  # warms the file cache
        for _ in range(runs):
            ours.append(run([bench] + mode + [path]))
            theirs.append(run([sys.executable, peer] + peer_mode + [path]))
    if abs(ours[0][2] - theirs[0][2]) > 1e-6 * abs(theirs[0][2]):
        sys.exit("the check sums differ: %f and %f" % (ours[0][2], theirs[0][2]))
    print("%s strings, median of %d runs each, taken in turn" % (strings, runs))
    print("%-22s %12s %12s %8s" % ("", "C++", "numpy", "ratio"))
    for label, index in (("job wall (ms)", 0), ("job cpu (ms)", 1), ("process wall (ms)", 3)):
        a = statistics.median(r[index] for r in ours)
        b = statistics.median(r[index] for r in theirs)
        print("%-22s %12.1f %12.1f %8.2f" % (label, a, b, a / b))


if __name__ == "__main__":
    main()
