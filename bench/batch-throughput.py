#!/usr/bin/env python3
"""Documents per second of `quillet batch`, side by side in one run.

    bench/batch-throughput.py [--count N] [--samples DIR] [--repeat R]

Two document sets: the sample documents (../shared/samples beside the project,
when present) and N (default 10,000) generated small Word documents, copies of
the Word fixtures under tests/data/word spread over 100 folders. Each set goes
through `quillet batch` in one process (--in-process: no isolation), with 1
and with 2 workers, and then through the Debian peer tools run once per file
under `xargs -P 2` (catdoc, xls2csv, catppt, pdftotext, unrtf by extension;
files no peer reads are left out of both sides of that comparison).
QUILLET names the tool (default build-release/tools/quillet, built when
missing); WORK a scratch folder (default: a fresh temporary one).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PEERS = {
    ".doc": ["catdoc"],
    ".xls": ["xls2csv"],
    ".ppt": ["catppt"],
    ".pdf": ["pdftotext", "-q", "{}", "-"],
    ".rtf": ["unrtf", "--text"],
}


def quillet_path():
    path = os.environ.get("QUILLET", os.path.join(ROOT, "build-release", "tools", "quillet"))
    if not os.access(path, os.X_OK):
        build = os.path.join(ROOT, "build-release")
        subprocess.run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                        "-DQUILLET_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", build, "--target", "quillet_cli"], check=True,
                       stdout=subprocess.DEVNULL)
    return path


def generate(folder, count):
    fixtures = sorted(os.path.join(ROOT, "tests", "data", "word", name)
                      for name in os.listdir(os.path.join(ROOT, "tests", "data", "word")) if name.endswith(".doc"))
    for i in range(count):
        sub = os.path.join(folder, "%02d" % (i % 100))
        os.makedirs(sub, exist_ok=True)
        shutil.copyfile(fixtures[i % len(fixtures)], os.path.join(sub, "doc%05d.doc" % i))


def files_under(folder):
    found = []
    for top, dirs, names in os.walk(folder):
        dirs.sort()
        found.extend(os.path.join(top, name) for name in sorted(names))
    return found


def best_of(repeat, run, prepare=lambda: None):
    best = None
    for _ in range(repeat):
        prepare()
        start = time.perf_counter()
        run()
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def clear_out(work):
    shutil.rmtree(os.path.join(work, "out"), ignore_errors=True)


def batch(quillet, work, list_file, extra):
    out = os.path.join(work, "out")
    subprocess.run([quillet, "batch", "--quiet", "--out", out, "--list", list_file] + extra, check=True,
                   stdout=subprocess.DEVNULL)
    with open(os.path.join(out, "results.jsonl"), "rb") as log:
        return sum(1 for _ in log)


def peer_loop(files, work):
    # One peer process per file, two at a time, as a shell user would run it.
    procs = []
    for ext, command in PEERS.items():
        chosen = [f for f in files if f.lower().endswith(ext)]
        if not chosen:
            continue
        if "{}" in command:
            args = ["xargs", "-0", "-P", "2", "-I{}"] + command
        else:
            args = ["xargs", "-0", "-P", "2", "-n", "1"] + command
        procs.append((args, b"\0".join(f.encode("utf-8", "surrogateescape") for f in chosen)))
    for args, data in procs:
        # unrtf writes the pictures it finds into the working folder.
        subprocess.run(args, input=data, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=work)


def measure(label, quillet, work, files, repeat):
    list_file = os.path.join(work, "list.txt")
    with open(list_file, "wb") as f:
        f.write(b"".join(p.encode("utf-8", "surrogateescape") + b"\n" for p in files))
    rows = []
    for name, extra in (("in one process", ["--in-process"]), ("batch --jobs 1", ["--jobs", "1"]),
                        ("batch --jobs 2", ["--jobs", "2"])):
        count = [0]
        seconds = best_of(repeat, lambda: count.__setitem__(0, batch(quillet, work, list_file, extra)),
                          lambda: clear_out(work))
        rows.append((name, count[0], seconds))
    peer_files = [f for f in files if os.path.splitext(f)[1].lower() in PEERS]
    with open(list_file, "wb") as f:
        f.write(b"".join(p.encode("utf-8", "surrogateescape") + b"\n" for p in peer_files))
    count = [0]
    seconds = best_of(repeat, lambda: count.__setitem__(0, batch(quillet, work, list_file, ["--jobs", "2"])),
                      lambda: clear_out(work))
    rows.append(("batch --jobs 2, peer files", count[0], seconds))
    rows.append(("peers, xargs -P 2", len(peer_files), best_of(repeat, lambda: peer_loop(peer_files, work))))

    print("== %s: %d files" % (label, len(files)))
    print("  %-28s %7s %9s %9s" % ("run", "docs", "seconds", "docs/s"))
    for name, docs, seconds in rows:
        print("  %-28s %7d %9.2f %9.1f" % (name, docs, seconds, docs / seconds if seconds else 0))
    one, jobs1 = rows[0], rows[1]
    print("  isolation cost (jobs 1 vs one process): %.3f ms per document, %.2fx the time"
          % ((jobs1[2] - one[2]) * 1000 / max(1, one[1]), jobs1[2] / one[2]))
    print("  peers / batch --jobs 2 on the peer files: %.2fx the time" % (rows[4][2] / rows[3][2]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=10000)
    parser.add_argument("--samples", default=os.path.join(os.path.dirname(ROOT), "shared", "samples"))
    parser.add_argument("--repeat", type=int, default=3)
    options = parser.parse_args()
    options.samples = os.path.abspath(options.samples)
    quillet = quillet_path()
    work = os.environ.get("WORK") or tempfile.mkdtemp(prefix="quillet-batch-bench-")
    os.makedirs(work, exist_ok=True)
    try:
        if os.path.isdir(options.samples):
            sample_files = [f for f in files_under(options.samples)
                            if os.sep + "expected" + os.sep not in f and os.path.dirname(f) != options.samples]
            measure("sample documents", quillet, work, sample_files, options.repeat)
        else:
            print("== sample documents: %s not found, skipped" % options.samples)
        generated = os.path.join(work, "generated")
        generate(generated, options.count)
        measure("generated Word documents", quillet, work, files_under(generated), options.repeat)
    finally:
        if "WORK" not in os.environ:
            shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
