#!/usr/bin/python3
"""Chart benchmark (make bench): vexaconv --plot against numpy.

usage: plotbench.py BUILD_DIR [WORK_DIR]

On the 80 MB kind K file and the 100 MB kind P file of the conversion benchmark (made with datagen
when missing), times vexaconv --plot (an 800x500 SVG: K both columns, P the first) against numpy
reading the same file with fromfile and computing the same first, last, minimum and maximum per pixel
column. Prints wall and CPU seconds (best of three; the CPU time is what counts on a busy machine),
MB/s of data file and the peak resident size of each run.
"""
import os
import subprocess
import sys

from convbench import HEADER, bench_paths, run

PIXELS = 800 - 72 - 18  # the plot frame of an 800 pixels wide chart

NUMPY = r"""
import sys, numpy as np
src, reals, ints, cols, pixels = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], int(sys.argv[5])
dt = np.dtype([('r', '<f4', (reals,)), ('i', '<i2', (ints,))]) if ints else np.dtype([('r', '<f4', (reals,))])
a = np.fromfile(src, dtype=dt, offset=%d)
n = len(a)
starts = np.searchsorted((np.arange(n, dtype=np.int64) * pixels) // n, np.arange(pixels))
ends = np.r_[starts[1:], n] - 1
for c in map(int, cols.split(',')):
    v = a['r'][:, c - 1]
    ok = np.isfinite(v).all()
    lows, highs = np.minimum.reduceat(v, starts), np.maximum.reduceat(v, starts)
    firsts, lasts = v[starts], v[ends]
    print(c, ok, float(lows.min()), float(highs.max()), float(firsts[0]), float(lasts[-1]))
""" % HEADER


def timed(args, stats_file):
    """Runs a command under GNU time: wall seconds, CPU seconds (user + system), peak RSS in MB."""
    status = subprocess.call(["/usr/bin/time", "-f", "%e %U %S %M", "-o", stats_file] + args,
                             stdout=subprocess.DEVNULL)
    if status != 0:
        sys.exit("failed: " + " ".join(args))
    with open(stats_file) as f:
        wall, user, system, rss = f.read().split()[-4:]
    return float(wall), float(user) + float(system), int(rss) / 1024.0


def main():
    _, work, datagen, vexaconv = bench_paths(sys.argv)
    rss_file = os.path.join(work, "rss.txt")
    rows = []
    for kind, reals, ints, cols, size in [("K", 2, 0, "1,2", ["-n", "10000000"]), ("P", 35, 2, "1", ["--mb", "100"])]:
        binary = os.path.join(work, "BENCH.%s01" % kind)
        print("generating", binary, flush=True)
        run([datagen, "-k", kind] + size + [binary], rss_file)
        mb = os.path.getsize(binary) / 1e6
        svg = os.path.join(work, "plot.svg")
        for tool, args in [
            ("vexaconv --plot", [vexaconv, "--plot", svg, "--plot-cols", cols, binary]),
            ("numpy fromfile", ["/usr/bin/python3", "-c", NUMPY, binary, str(reals), str(ints), cols, str(PIXELS)]),
        ]:
            best = min((timed(args, rss_file) for _ in range(3)), key=lambda r: r[1])
            rows.append((kind, tool, mb) + best)
        os.remove(svg)

    print()
    print("%-4s %-16s %8s %8s %8s %8s %8s" % ("file", "tool", "file MB", "wall s", "CPU s", "MB/s CPU", "RSS MB"))
    for kind, tool, mb, wall, cpu, rss in rows:
        print("%-4s %-16s %8.1f %8.3f %8.3f %8.1f %8.1f" % (kind, tool, mb, wall, cpu, mb / max(cpu, 0.001), rss))
    print()
    for kind in ("K", "P"):
        ours = [r for r in rows if r[0] == kind and r[1].startswith("vexaconv")][0]
        numpy = [r for r in rows if r[0] == kind and r[1].startswith("numpy")][0]
        ratio = numpy[4] / max(ours[4], 0.001)
        print("  %s: vexaconv --plot %.1f x as fast as numpy in CPU time (goal >= 1) %s; peak %.1f MB (goal < 16) %s"
              % (kind, ratio, "ok" if ratio >= 1 else "MISSED", ours[5], "ok" if ours[5] < 16 else "MISSED"))


if __name__ == "__main__":
    main()
