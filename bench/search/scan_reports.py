#!/usr/bin/env python3
"""The plain scan the word search is measured against: walk a folder, inflate every inspection
report, array test report and verification certificate, and look for a phrase in its bytes,
ignoring ASCII case. Prints the number of files holding it, the time spent scanning and the
CPU time of the scan (milliseconds).

    scan_reports.py <folder> <phrase>
"""
import os
import sys
import time
import zlib

SUFFIXES = (".kstir", ".kstatr", ".kstvc")


def main():
    folder, phrase = sys.argv[1], sys.argv[2].lower().encode("utf-8")
    start = time.perf_counter()
    cpu_start = time.process_time()
    hits = 0
    for dirpath, dirnames, filenames in os.walk(folder, followlinks=False):
        for name in filenames:
            if not name.lower().endswith(SUFFIXES):
                continue
            try:
                with open(os.path.join(dirpath, name), "rb") as f:
                    data = f.read()
                # A 4-byte big-endian size, then the zlib stream.
                payload = zlib.decompress(data[4:])
            except (OSError, zlib.error):
                continue
            if phrase in payload.lower():
                hits += 1
    print(hits, "%.1f" % ((time.perf_counter() - start) * 1000.0),
          "%.1f" % ((time.process_time() - cpu_start) * 1000.0))


if __name__ == "__main__":
    main()
