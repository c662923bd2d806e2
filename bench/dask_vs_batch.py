#!/usr/bin/python3
"""Documents per second of quillet.dask.convert on a LocalCluster of two workers
beside `quillet batch --jobs 2`, on the same generated documents.

    bench/dask_vs_batch.py [--count N] [--repeat R] [--partition-size P|auto]

N (default 10,000) small documents are copies of the fixtures under tests/data
(binary Word, Word-processing packages, RTF, text) with varied names, spread
over 100 folders of a fresh temporary folder, in memory (/dev/shm) where there is
one: on ext4, re-creating ten thousand just-deleted folders costs more kernel time
with every repeat and would favour whichever side runs first. Each repeat converts them all into
an empty output folder once with each side, in alternating order; the figures
are medians. The cluster (threads, as the README suggests) is started once,
outside the timing. CPU seconds (this process and its children) are shown
beside the elapsed time, as they vary less on a shared machine. BUILD names a Release build with the Python package and the
tool (default build-release, configured and built when missing).
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FIXTURES = ["word/english.doc", "word/chinese.doc", "word/stories.doc", "word/pictures.doc",
            "package/libreoffice.docx", "docx/stories.docx", "docx/picture.docx",
            "rtf/wordpad.rtf", "rtf/libreoffice.rtf", "rtf/chinese.rtf", "sample.txt"]


def build():
    folder = os.environ.get("BUILD", os.path.join(ROOT, "build-release"))
    if not os.access(os.path.join(folder, "tools", "quillet"), os.X_OK):
        subprocess.run(["cmake", "-S", ROOT, "-B", folder, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                        "-DQUILLET_BUILD_TESTS=OFF", "-DQUILLET_BUILD_PYTHON=ON",
                        "-DPython3_EXECUTABLE=" + sys.executable], check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", folder, "-j2", "--target", "quillet_cli", "quillet_python"],
                       check=True, stdout=subprocess.DEVNULL)
    return folder


def cpu_seconds():
    usage = [resource.getrusage(who) for who in (resource.RUSAGE_SELF, resource.RUSAGE_CHILDREN)]
    return sum(u.ru_utime + u.ru_stime for u in usage)


def generate(folder, count):
    paths = []
    for i in range(count):
        fixture = FIXTURES[i % len(FIXTURES)]
        sub = os.path.join(folder, "%02d" % (i % 100))
        os.makedirs(sub, exist_ok=True)
        stem, extension = os.path.splitext(os.path.basename(fixture))
        paths.append(os.path.join(sub, "%s-%05d%s" % (stem, i, extension)))
        shutil.copyfile(os.path.join(ROOT, "tests", "data", fixture), paths[-1])
    return paths


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=10000)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--partition-size", default="auto",
                        help="documents per partition, or auto (the default: sized from the work)")
    options = parser.parse_args()
    folder = build()
    sys.path.insert(0, os.path.join(folder, "python"))
    import quillet.dask
    from distributed import Client, LocalCluster

    tool = os.path.join(folder, "tools", "quillet")
    size = None if options.partition_size == "auto" else int(options.partition_size)
    work = tempfile.mkdtemp(prefix="quillet-dask-bench-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
    try:
        paths = generate(os.path.join(work, "in"), options.count)
        listing = os.path.join(work, "list.txt")
        with open(listing, "w") as file:
            file.write("".join(path + "\n" for path in paths))
        start = time.perf_counter()
        with LocalCluster(n_workers=2, threads_per_worker=1, processes=False, dashboard_address=None) as cluster, \
                Client(cluster):
            print("cluster start-up: %.2f s" % (time.perf_counter() - start))
            seconds = {"batch": [], "dask": []}
            cpu = {"batch": [], "dask": []}
            for repeat in range(options.repeat):
                for side in (("batch", "dask") if repeat % 2 == 0 else ("dask", "batch")):
                    out = os.path.join(work, "out-" + side)
                    shutil.rmtree(out, ignore_errors=True)
                    before = cpu_seconds()
                    start = time.perf_counter()
                    if side == "batch":
                        subprocess.run([tool, "batch", "--out", out, "--jobs", "2", "--quiet", "--list", listing],
                                       check=True, stdout=subprocess.DEVNULL)
                        rows = sum(1 for _ in open(os.path.join(out, "results.jsonl")))
                    else:
                        rows = len(quillet.dask.convert(paths, out, partition_size=size,
                                                        quillet_command=tool).compute())
                    seconds[side].append(time.perf_counter() - start)
                    cpu[side].append(cpu_seconds() - before)
                    assert rows == len(paths), (side, rows)
                    print("%-5s run %d: %.2f s, %.0f documents/s, %.2f CPU s, load %.1f" % (
                        side, repeat + 1, seconds[side][-1], len(paths) / seconds[side][-1], cpu[side][-1],
                        os.getloadavg()[0]))
        batch, dask = (statistics.median(seconds[side]) for side in ("batch", "dask"))
        print("median: quillet batch --jobs 2 %.0f documents/s, quillet.dask.convert %.0f documents/s, "
              "Dask overhead %+.1f%%" % (len(paths) / batch, len(paths) / dask, (dask / batch - 1) * 100))
        batch, dask = (statistics.median(cpu[side]) for side in ("batch", "dask"))
        print("median CPU: quillet batch --jobs 2 %.2f s, quillet.dask.convert %.2f s, %+.1f%%" % (
            batch, dask, (dask / batch - 1) * 100))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
