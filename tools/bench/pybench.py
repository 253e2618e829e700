#!/usr/bin/python3
"""vexafile benchmark (make bench-python): reading data files into numpy.

usage: pybench.py BUILD_DIR [WORK_DIR]     (run with a Python that has vexafile installed)

On the 80 MB kind K file and the 100 MB kind P file of the conversion benchmark (made with datagen
when missing), times in the same run: vexafile's records() and to_numpy(); numpy's fromfile with a
hand-written dtype and the header offset (one read into an array: the limit); and today's road,
vexaconv to Col ASCII and then numpy's loadtxt. Each reader runs in a process of its own and reports
its best of three (the text road: one run) and the growth of its peak resident size over the size of
the array it returns. Prints the ratios vexafile aims at.
"""
import os
import subprocess
import sys

from convbench import HEADER, bench_paths, run

READ = r"""
import os, resource, subprocess, sys, time
import numpy as np
import vexafile

method, path, reals, ints, vexaconv = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]

def fromfile():
    dtype = np.dtype([("r", "<f4", (reals,))] + ([("i", "<i2", (ints,))] if ints else []))
    return np.fromfile(path, dtype=dtype, offset=%d)

def text():
    subprocess.run([vexaconv, "--yes", path], check=True, stdout=subprocess.DEVNULL)
    return np.loadtxt(path + ".TXT", dtype=np.float64, ndmin=2)

read = {"fromfile": fromfile, "records": lambda: vexafile.open(path).records(),
        "to_numpy": lambda: vexafile.open(path).to_numpy(), "text": text}[method]
page = os.sysconf("SC_PAGE_SIZE")
before = int(open("/proc/self/statm").read().split()[1]) * page
best = float("inf")
for i in range(1 if method == "text" else 3):
    start = time.perf_counter()
    a = read()
    best = min(best, time.perf_counter() - start)
    if i == 0:
        growth = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024 - before
        size = a.nbytes
    del a
print(best, growth / size, size)
""" % HEADER

FILES = [("K", 2, 0, ["-n", "10000000"]), ("P", 35, 2, ["--mb", "100"])]
METHODS = ["fromfile", "records", "to_numpy", "text"]


def main():
    _, work, datagen, vexaconv = bench_paths(sys.argv)
    results = {}
    for kind, reals, ints, size in FILES:
        binary = os.path.join(work, "BENCH.%s01" % kind)
        if not os.path.exists(binary):
            print("generating", binary, flush=True)
            run([datagen, "-k", kind] + size + [binary], os.path.join(work, "rss.txt"))
        for method in METHODS:
            print("  %s %-9s" % (kind, method), end="", flush=True)
            out = subprocess.run([sys.executable, "-c", READ, method, binary, str(reals), str(ints), vexaconv],
                                 check=True, capture_output=True, text=True).stdout.split()
            seconds, memory, nbytes = float(out[0]), float(out[1]), int(out[2])
            results[kind, method] = (seconds, memory)
            print(" %7.3f s  %7.1f MB/s of file  peak %.2fx the %.0f MB array" % (
                seconds, os.path.getsize(binary) / 1e6 / seconds, memory, nbytes / 1e6), flush=True)
        if os.path.exists(binary + ".TXT"):
            os.remove(binary + ".TXT")

    print()
    print("vexafile ratios                                  K        P    goal")
    rows = [
        ("records() speed / numpy fromfile", lambda k: results[k, "fromfile"][0] / results[k, "records"][0],
         ">=", 0.8),
        ("to_numpy() speed / vexaconv + loadtxt", lambda k: results[k, "text"][0] / results[k, "to_numpy"][0],
         ">=", 20),
        ("records() peak memory / array", lambda k: results[k, "records"][1], "<=", 1.3),
        ("to_numpy() peak memory / array", lambda k: results[k, "to_numpy"][1], "<=", 1.3),
    ]
    for label, ratio, sense, goal in rows:
        values = [ratio(kind) for kind, *_ in FILES]
        met = all(v >= goal if sense == ">=" else v <= goal for v in values)
        print("  %-42s %6.2f   %6.2f   %s %-4g %s" % (label, values[0], values[1], sense, goal,
                                                    "ok" if met else "MISSED"))


if __name__ == "__main__":
    main()
