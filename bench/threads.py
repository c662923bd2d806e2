#!/usr/bin/python3
"""Documents per second of the Python module on 1 and 2 threads, beside
`quillet batch --jobs 1/2`, on the same mixed documents.

    bench/threads.py [--count N] [--repeat R] [--source DIR]

N (default 1,000) documents: those under DIR, else the sample documents
(../shared/samples beside the project) when present, else the fixtures under
tests/data (small files, where per-document costs and locks show), copied round-robin
into a folder in memory (/dev/shm where there is one). Each repeat converts
them all, into an empty output folder, with quillet.export under a
ThreadPoolExecutor of 1 and 2 threads, and with `quillet batch --jobs 1` and
`--jobs 2` (worker processes, as batch runs by default), in turn; the figures
are medians of elapsed time and CPU (this process and its children). BUILD
names a Release build with the Python package and the tool (default
build-release).
"""
import argparse
import concurrent.futures
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMATS = (".doc", ".docx", ".xls", ".xlsx", ".ppt", ".pptx", ".rtf", ".pdf", ".txt")


def cpu_seconds():
    usage = [resource.getrusage(who) for who in (resource.RUSAGE_SELF, resource.RUSAGE_CHILDREN)]
    return sum(u.ru_utime + u.ru_stime for u in usage)


def sources(folder):
    samples = os.path.join(os.path.dirname(ROOT), "shared", "samples")
    folder = folder or (samples if os.path.isdir(samples) else os.path.join(ROOT, "tests", "data"))
    found = []
    for base, _, names in os.walk(folder):
        for name in sorted(names):
            if name.lower().endswith(FORMATS) and "expected" not in base:
                found.append(os.path.join(base, name))
    return folder, sorted(found)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--source")
    options = parser.parse_args()
    build = os.environ.get("BUILD", os.path.join(ROOT, "build-release"))
    sys.path.insert(0, os.path.join(build, "python"))
    import quillet

    tool = os.path.join(build, "tools", "quillet")
    origin, found = sources(options.source)
    work = tempfile.mkdtemp(prefix="quillet-threads-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
    try:
        paths = []
        for i in range(options.count):
            source = found[i % len(found)]
            paths.append(os.path.join(work, "in", "%04d-%s" % (i, os.path.basename(source))))
            os.makedirs(os.path.dirname(paths[-1]), exist_ok=True)
            shutil.copyfile(source, paths[-1])
        listing = os.path.join(work, "list.txt")
        with open(listing, "w") as file:
            file.write("".join(path + "\n" for path in paths))
        print("%d documents from %d files of %s, %.1f MB" % (
            len(paths), len(found), origin, sum(os.path.getsize(p) for p in paths) / 1e6))

        def threads(count, out):
            def one(index):
                quillet.export(paths[index], os.path.join(out, str(index)), pictures=True)
            with concurrent.futures.ThreadPoolExecutor(count) as pool:
                list(pool.map(one, range(len(paths))))

        def batch(jobs, out):
            subprocess.run([tool, "batch", "--out", out, "--jobs", str(jobs), "--pictures", "--quiet",
                            "--list", listing], check=True, stdout=subprocess.DEVNULL)

        sides = {"threads 1": lambda out: threads(1, out), "threads 2": lambda out: threads(2, out),
                 "batch --jobs 1": lambda out: batch(1, out), "batch --jobs 2": lambda out: batch(2, out)}
        seconds = {side: [] for side in sides}
        cpu = {side: [] for side in sides}
        order = list(sides)
        for repeat in range(options.repeat):
            for side in order if repeat % 2 == 0 else reversed(order):
                out = os.path.join(work, "out")
                shutil.rmtree(out, ignore_errors=True)
                os.makedirs(out)
                before, start = cpu_seconds(), time.perf_counter()
                sides[side](out)
                seconds[side].append(time.perf_counter() - start)
                cpu[side].append(cpu_seconds() - before)
        for side in order:
            wall, used = statistics.median(seconds[side]), statistics.median(cpu[side])
            print("%-15s %7.1f documents/s  %6.2f s  CPU %6.2f s" % (side, len(paths) / wall, wall, used))
        for pair in (("threads 2", "threads 1"), ("batch --jobs 2", "batch --jobs 1")):
            print("%s over %s: %.2fx" % (pair[0], pair[1],
                                         statistics.median(seconds[pair[1]]) / statistics.median(seconds[pair[0]])))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
