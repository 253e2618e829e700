#!/usr/bin/python3
"""Conversion benchmark (make bench): vexaconv against numpy and plain to_chars/from_chars loops.

usage: convbench.py BUILD_DIR [WORK_DIR]

Generates an 80 MB kind K file (10 million records) and a 100 MB kind P file with datagen, then times
on the same files: vexaconv binary -> Col ASCII, binary -> Full ASCII (one record per line) and Full
ASCII -> binary; numpy's savetxt and loadtxt; and the to_chars / from_chars loops of convbench. Prints
MB/s of text, the peak resident size of each run, and the ratios the conversion aims at.
"""
import os
import subprocess
import sys
import time

HEADER = 1024  # identification, main header and extended block of a version-20 file

SAVETXT = r"""
import sys, numpy as np
src, dst, reals, ints = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
dt = np.dtype([('r', '<f4', (reals,)), ('i', '<i2', (ints,))])
a = np.fromfile(src, dtype=dt, offset=%d)
cols = a['r'].astype(np.float64) if ints == 0 else np.hstack([a['r'].astype(np.float64), a['i'].astype(np.float64)])
np.savetxt(dst, cols, fmt=['%% .4E'] * reals + ['%%7d'] * ints, newline='\r\n')
""" % HEADER

LOADTXT = r"""
import sys, numpy as np
src, dst, reals, ints = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
a = np.loadtxt(src, dtype=np.float64, ndmin=2)
out = np.empty(len(a), dtype=np.dtype([('r', '<f4', (reals,)), ('i', '<i2', (ints,))]))
out['r'] = a[:, :reals]
if ints:
    out['i'] = a[:, reals:]
out.tofile(dst)
"""


def run(args, rss_file):
    """Runs a command; its seconds and peak resident size in MB (measured by GNU time, so the
    benchmark's own memory is not counted)."""
    start = time.monotonic()
    status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", rss_file] + args, stdout=subprocess.DEVNULL)
    seconds = time.monotonic() - start
    if status != 0:
        sys.exit("failed: " + " ".join(args))
    with open(rss_file) as f:
        return seconds, int(f.read().split()[-1]) / 1024.0


def bench_paths(argv):
    """The build folder, the work folder (made) and the datagen and vexaconv programs of a bench run."""
    build = argv[1]
    work = argv[2] if len(argv) > 2 else os.path.join(build, "bench-data")
    os.makedirs(work, exist_ok=True)
    return (build, work, os.path.join(build, "tools/datagen/datagen"),
            os.path.join(build, "tools/vexaconv/vexaconv"))


def main():
    build, work, datagen, vexaconv = bench_paths(sys.argv)
    os.makedirs(os.path.join(work, "back"), exist_ok=True)
    loops = os.path.join(build, "tools/bench/convbench")
    python = "/usr/bin/python3"
    rss_file = os.path.join(work, "rss.txt")

    files = [("K", 2, 0, ["-n", "10000000"]), ("P", 35, 2, ["--mb", "100"])]
    rows = []  # (file, step, tool, text bytes, seconds, rss)
    for kind, reals, ints, size in files:
        binary = os.path.join(work, "BENCH.%s01" % kind)
        print("generating", binary, flush=True)
        run([datagen, "-k", kind] + size + [binary], rss_file)
        col = binary + ".TXT"
        full = binary + ".FUL"
        p = lambda *names: os.path.join(work, *names)
        steps = [
            ("bin -> Col ASCII", "vexaconv", [vexaconv, "--yes", binary], col),
            ("bin -> Col ASCII", "numpy savetxt",
             [python, "-c", SAVETXT, binary, p("np.txt"), str(reals), str(ints)], p("np.txt")),
            ("bin -> Col ASCII", "to_chars loop",
             [loops, "write", str(reals), str(ints), str(HEADER), binary, p("tc.txt")], p("tc.txt")),
            ("bin -> Full ASCII", "vexaconv",
             [vexaconv, "--yes", "-m", "bin2full", "--cols", "all", "--ext", "input", "--extension", "FUL", binary],
             full),
            ("Full ASCII -> bin", "vexaconv", [vexaconv, "--yes", "-m", "full2bin", "-d", p("back"), full], full),
            ("Full ASCII -> bin", "numpy loadtxt",
             [python, "-c", LOADTXT, col, p("back", "np.bin"), str(reals), str(ints)], col),
            ("Full ASCII -> bin", "from_chars loop",
             [loops, "read", str(reals), str(ints), col, p("back", "fc.bin")], col),
        ]
        for step, tool, args, text in steps:
            print("  %-18s %-16s" % (step, tool), end="", flush=True)
            seconds, rss = run(args, rss_file)
            size_mb = os.path.getsize(text) / 1e6
            print(" %7.2f s" % seconds, flush=True)
            rows.append((kind, step, tool, size_mb, seconds, rss))
        for name in (col, full, p("np.txt"), p("tc.txt")):
            os.remove(name)

    print()
    print("%-4s %-18s %-16s %9s %8s %8s %8s" % ("file", "step", "tool", "text MB", "seconds", "MB/s", "RSS MB"))
    for kind, step, tool, size_mb, seconds, rss in rows:
        print("%-4s %-18s %-16s %9.1f %8.2f %8.1f %8.1f" % (kind, step, tool, size_mb, seconds, size_mb / seconds, rss))

    def speed(kind, step, tool):
        for k, s, t, size_mb, seconds, _ in rows:
            if (k, s, t) == (kind, step, tool):
                return size_mb / seconds
        return float("nan")

    print()
    print("ratios (vexaconv MB/s over the other's)          K        P    goal")
    checks = [
        ("bin -> Col ASCII  / numpy savetxt", "bin -> Col ASCII", "numpy savetxt", 5.0),
        ("bin -> Col ASCII  / to_chars loop", "bin -> Col ASCII", "to_chars loop", 0.5),
        ("bin -> Full ASCII / to_chars loop", "bin -> Full ASCII", "to_chars loop", 0.5),
        ("Full ASCII -> bin / numpy loadtxt", "Full ASCII -> bin", "numpy loadtxt", 2.0),
        ("Full ASCII -> bin / from_chars loop", "Full ASCII -> bin", "from_chars loop", 0.5),
    ]
    for label, step, other, goal in checks:
        other_step = "bin -> Col ASCII" if other == "to_chars loop" else step
        ratios = [speed(k, step, "vexaconv") / speed(k, other_step, other) for k in ("K", "P")]
        verdict = "ok" if all(r >= goal for r in ratios) else "MISSED"
        print("  %-40s %6.2f   %6.2f   >= %.1f  %s" % (label, ratios[0], ratios[1], goal, verdict))
    peak = max(rss for _, _, tool, _, _, rss in rows if tool == "vexaconv")
    print("  %-40s %6.1f MB           < 16   %s" % ("vexaconv peak resident size", peak, "ok" if peak < 16 else "MISSED"))


if __name__ == "__main__":
    main()
