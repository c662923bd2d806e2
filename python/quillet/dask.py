"""Converting many documents on a Dask cluster, one `quillet batch` per partition.

    from distributed import Client, LocalCluster
    import quillet.dask

    with LocalCluster(n_workers=2, threads_per_worker=1, processes=False) as cluster, Client(cluster):
        records = quillet.dask.convert(paths, "/shared/out").compute()

Each partition runs `quillet batch --list - --out OUT_ROOT --resume` in a subprocess
on its worker, so a crashing or hanging document costs one batch worker process,
never the Dask worker, and a run that stopped half-way converts only the rest when
started again. The frame holds the records of OUT_ROOT/results.jsonl, one row per
distinct input path.
"""

import functools
import json
import math
import os
import shutil
import signal
import stat
import subprocess
import uuid
from typing import Iterable, Optional

import dask
import dask.dataframe as dd
import pandas as pd

from . import PathLike, _native

__all__ = ["convert", "find_command", "BatchError", "COLUMNS"]

#: The columns of a conversion frame, those of a `quillet batch --json` record (title,
#: author and pages are empty without json=True).
COLUMNS = ["path", "size", "mtime", "format", "code", "status", "chars", "ms", "worker", "out",
           "title", "author", "pages"]
_INTEGERS = ("size", "code", "chars", "worker", "pages")
_FLAGS = ("text", "pictures", "extras", "clean", "json")
# Seconds a batch gets beyond its documents' own limits: start-up, replacing
# crashed workers, reading the log.
_SLACK = 60
_PER_DOCUMENT_SLACK = 5
_TERMINATE_GRACE = 10
# What a batch worker spends on a document, to size partitions: a fixed share
# (opening, output folder, record) and a share per byte, both on the slow side
# of what bench/dask_vs_batch.py and the peer benchmarks measure.
_SECONDS_PER_DOCUMENT = 0.0005
_BYTES_PER_SECOND = 20e6
# The work a partition holds per batch worker: enough that starting its batch
# (about 0.1 s) stays a few percent, little enough that a rerun after a lost
# worker repeats little.
_PARTITION_SECONDS = 5.0


class BatchError(RuntimeError):
    """The `quillet batch` of a partition could not start, failed, or ran past its time
    bound. The records it wrote stay in results.jsonl; running again resumes."""


def _checked(path, what):
    """The path as str, refused when a list line cannot carry it."""
    _native(path, what)
    path = os.fspath(path)
    if "\n" in path or path.endswith("\r"):
        raise ValueError(f"{what} holds a line break: {path!r}")
    return path


def _absolute(path):
    """The path made absolute as `quillet batch` does, so records match it: against the
    working folder, without "." parts or repeated separators, and with ".." taken back
    only after a folder that is no symbolic link."""
    if not path.startswith("/"):
        path = os.getcwd() + "/" + path
    elif "//" not in path and "/." not in path and not path.endswith("/"):
        return path  # already as the batch writes it
    clean = ""
    for part in path.split("/"):
        if part == ".." and clean and os.path.lexists(clean) and not os.path.islink(clean):
            clean = clean[:clean.rfind("/")]
        elif part and part != ".":
            clean += "/" + part
    return clean or "/"


def _positive(name, value, limit):
    if isinstance(value, bool) or not isinstance(value, int):
        raise TypeError(f"{name} must be an int, not {type(value).__name__}")
    if value < 1 or (limit is not None and value > limit):
        raise ValueError(f"{name} must be a positive number" + (f" up to {limit}" if limit else ""))


def find_command(quillet_command: Optional[PathLike] = None) -> str:
    """The quillet command a partition runs, looked for in this order: quillet_command,
    the QUILLET_COMMAND environment variable, the command built or installed with this
    package, `quillet` on PATH. Raises BatchError when there is none."""
    tried = []
    for given in (quillet_command, os.environ.get("QUILLET_COMMAND") or None):
        if given is not None:
            given = os.fspath(given)
            found = shutil.which(given) if os.sep not in given else given
            if found and os.access(found, os.X_OK) and not os.path.isdir(found):
                return found
            raise BatchError(f"the quillet command {given!r} is not an executable file")
    try:
        from ._cli import COMMAND as built
    except ImportError:
        built = None
    if built is not None:
        if os.access(built, os.X_OK):
            return built
        tried.append(built)
    found = shutil.which("quillet")
    if found:
        return found
    tried.append("quillet on PATH")
    raise BatchError("cannot find the quillet command (tried " + ", ".join(tried) +
                     "); pass quillet_command= or set QUILLET_COMMAND")


def _frame(rows):
    frame = pd.DataFrame.from_records(rows, columns=COLUMNS)
    for column in _INTEGERS:
        frame[column] = frame[column].astype("Int64")
    frame["ms"] = frame["ms"].astype("float64")
    frame["mtime"] = pd.to_datetime(frame["mtime"], utc=True)
    return frame


def _read_records(log, start, wanted, found):
    """The last record of each wanted path in the log from byte start on."""
    try:
        with open(log, "rb") as file:
            file.seek(start)
            content = file.read()
    except FileNotFoundError:
        return
    for line in content.split(b"\n"):
        # Batches sharing the log write each other's records too: a path written
        # without escapes is told from the line's start, before any parsing.
        if line.startswith(b'{"path":"'):
            end = line.find(b'"', 9)
            if end > 0 and b"\\" not in line[9:end] and line[9:end].decode(errors="replace") not in wanted:
                continue
        try:
            record = json.loads(line)
        except ValueError:
            continue  # the piece of a line before start, or one a killed batch left
        if isinstance(record, dict) and record.get("path") in wanted:
            found[record["path"]] = record


def _run_partition(listing, out_root, quillet_command, arguments, jobs, timeout):
    # The paths arrive as one string of lines, which Dask neither walks nor hashes path by path.
    paths = listing.split("\n")
    command = find_command(quillet_command)
    rows = {}
    listed = []
    for path in paths:
        if os.path.isdir(path):  # the batch would walk it; a source that is a folder fails to open
            rows[path] = {"path": path, "code": 21, "status": "error"}
        else:
            listed.append(path)
    log = os.path.join(out_root, "results.jsonl")
    try:
        start = os.path.getsize(log)
    except OSError:
        start = 0
    # A lost Dask worker must not leave its batch running beside the rerun; setpriv
    # (util-linux) asks for that without a preexec_fn, which would make each start
    # fork the whole worker process.
    setpriv = shutil.which("setpriv")
    argv = ([setpriv, "--pdeathsig", "KILL", "--"] if setpriv else []) + [
        command, "batch", "--list", "-", "--out", out_root, "--resume", "--quiet",
        "--jobs", str(jobs), "--timeout", str(timeout), *arguments]
    bound = (timeout + _PER_DOCUMENT_SLACK) * math.ceil(len(listed) / jobs) + _SLACK
    if listed:
        try:
            process = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.PIPE)
        except OSError as error:
            raise BatchError(f"cannot start {command}: {error}") from None
        feed = b"".join(os.fsencode(path) + b"\n" for path in listed)
        try:
            _, errors = process.communicate(feed, timeout=bound)
        except subprocess.TimeoutExpired:
            process.send_signal(signal.SIGTERM)
            try:
                process.communicate(timeout=_TERMINATE_GRACE)
            except subprocess.TimeoutExpired:
                process.kill()
                process.communicate()
            raise BatchError(f"the batch of {len(listed)} documents from {listed[0]} ran past "
                             f"{bound} s and was stopped; run again to resume") from None
        if process.returncode != 0:
            how = (f"was killed by signal {-process.returncode}" if process.returncode < 0
                   else f"exited with status {process.returncode}")
            detail = errors.decode(errors="replace").strip().splitlines()[-3:]
            raise BatchError(f"the batch of {len(listed)} documents from {listed[0]} {how}"
                             + (": " + " / ".join(detail) if detail else ""))
        wanted = set(listed)
        _read_records(log, start, wanted, rows)
        if not wanted.issubset(rows):  # skipped as already recorded by an earlier run
            _read_records(log, 0, wanted, rows)
    # A path naming the same file as another in the partition (a link) is converted once.
    return _frame([rows.get(path, {"path": path, "status": "duplicate"}) for path in paths])


def _cluster_workers():
    """The tasks the current scheduler runs at once: the threads of the distributed
    client's workers, else this machine's processors."""
    try:
        from distributed import default_client
        client = default_client()
        if not client.asynchronous and client.status == "running":
            threads = sum(worker.get("nthreads", 1) for worker in client.scheduler_info()["workers"].values())
            if threads > 0:
                return threads
    except (ImportError, ValueError):
        pass  # no distributed client: dask's local schedulers use the machine
    return dask.config.get("num_workers", None) or len(os.sched_getaffinity(0))


def _partitions(paths, sizes, jobs_per_task, workers):
    """The paths cut, in order, into runs of about _PARTITION_SECONDS of work per batch
    worker, and into at least as many runs as there are workers while paths last."""
    costs = [_SECONDS_PER_DOCUMENT + size / _BYTES_PER_SECOND for size in sizes]
    total = sum(costs)
    count = max(workers, math.ceil(total / (_PARTITION_SECONDS * jobs_per_task)))
    count = min(count, len(paths))
    parts, start, done, cut = [], 0, 0.0, 0.0
    for index, cost in enumerate(costs):
        done += cost
        # Each partition takes an equal share of the work not yet cut, so that a
        # large document alone does not leave the partitions after it nearly empty;
        # every partition still to come keeps at least one path.
        left = count - len(parts) - 1
        if left > 0 and (done - cut >= (total - cut) / (left + 1) or len(paths) - index - 1 == left):
            parts.append(paths[start:index + 1])
            start, cut = index + 1, done
    parts.append(paths[start:])
    return parts


def _settle_released_results():
    """Lets the client tell the scheduler which earlier results it gave up before a
    compute starts or after one ends. distributed releases a computed key from its
    event loop, after compute() has returned; a compute that comes first re-wants the
    key, and the scheduler hands back the value it still holds without running the
    batch. Processing the queued releases first closes that window."""
    try:
        from distributed import default_client
        client = default_client()
    except (ImportError, ValueError):
        return  # no distributed client: local schedulers keep nothing between computes
    if client.asynchronous or client.status != "running":
        return

    async def settled():
        pass

    client.sync(settled)


class _ConversionFrame(dd.DataFrame):
    """A conversion frame whose every compute runs its batches again: partitions
    that are complete convert nothing, the others convert what is missing."""

    @staticmethod
    def __dask_optimize__(dsk, keys, **kwargs):
        _settle_released_results()
        return dd.DataFrame.__dask_optimize__(dsk, keys, **kwargs)

    def __dask_postcompute__(self):
        finalize, extra = super().__dask_postcompute__()
        return functools.partial(_finalize_and_settle, finalize), extra


def _finalize_and_settle(finalize, results, *extra):
    frame = finalize(results, *extra)
    _settle_released_results()
    return frame


def convert(paths: Iterable[PathLike], out_root: PathLike, *, jobs_per_task: int = 1, timeout: int = 60,
            partition_size: Optional[int] = None, quillet_command: Optional[PathLike] = None,
            **flags: bool) -> "dd.DataFrame":
    """A lazy Dask DataFrame of conversion records, one row per distinct path in input
    order, with the columns of a `quillet batch` record (COLUMNS).

    paths: str or os.PathLike paths of files (relative ones against this process's
    working folder). out_root: the batch output folder, the same path on every worker.
    Each partition is one task running `quillet batch` with jobs_per_task worker
    processes that kill a conversion after timeout seconds. partition_size=None sizes
    partitions from the documents' bytes and the cluster's worker threads (a few
    seconds of work each, never fewer partitions than workers); a number gives
    partitions of that many paths.
    flags: text, pictures, extras (booleans, as for quillet.export; text by default), and
    clean: each 1.txt then holds the text quillet.text() gives; json: each output folder
    also holds doc.json (what quillet.extract() reads: format, code, metadata, parts) and
    the rows get the document's title, author and page count.
    quillet_command: see find_command. Computing the frame converts what results.jsonl
    does not already hold; computing it again converts nothing more.
    """
    unknown = set(flags) - set(_FLAGS)
    if unknown:
        raise TypeError(f"convert() got unexpected keyword arguments: {', '.join(sorted(unknown))}")
    for name, value in flags.items():
        if not isinstance(value, bool):
            raise TypeError(f"{name} must be a bool, not {type(value).__name__}")
    text, pictures, extras, clean, json_ = (flags.get(name, name == "text") for name in _FLAGS)
    if not (text or extras or pictures):
        raise ValueError("nothing to write: text, pictures and extras are all off")
    arguments = (["--text"] if text or extras else ["--no-text"]) + (["--extras"] if extras else []) + \
        (["--pictures"] if pictures else []) + (["--clean"] if clean else []) + \
        (["--json"] if json_ else [])
    _positive("jobs_per_task", jobs_per_task, 1024)
    _positive("timeout", timeout, 86400 * 365)
    if partition_size is not None:
        _positive("partition_size", partition_size, None)
    if quillet_command is not None:
        _checked(quillet_command, "quillet_command")
    root = _absolute(_checked(out_root, "out_root"))
    if os.path.exists(root) and not os.path.isdir(root):
        raise NotADirectoryError(f"out_root is not a folder: {root}")
    if isinstance(paths, (str, bytes, os.PathLike)):
        raise TypeError("paths must be an iterable of paths, not a single path")
    try:
        given = iter(paths)
    except TypeError:
        raise TypeError(f"paths must be an iterable of paths, not {type(paths).__name__}") from None
    distinct = list(dict.fromkeys(_absolute(_checked(path, "path")) for path in given))
    sizes = []
    for path in distinct:
        try:
            status = os.stat(path)
        except OSError:
            sizes.append(0)  # answered at once with an error record
            continue
        if stat.S_ISDIR(status.st_mode):
            raise IsADirectoryError(f"a folder among the paths (list its files instead): {path}")
        sizes.append(status.st_size)
    meta = _frame([])
    if not distinct:
        return dd.from_pandas(meta, npartitions=1)
    if partition_size is None:
        parts = _partitions(distinct, sizes, jobs_per_task, _cluster_workers())
    else:
        parts = [distinct[i:i + partition_size] for i in range(0, len(distinct), partition_size)]
    parts = ["\n".join(part) for part in parts]
    # dd.from_map would be leaner, but distributed 2022.12 hands its inputs to the
    # function still wrapped for serialisation.
    # Keys of their own for each call: a frame made earlier over the same paths may
    # still hold its results on the cluster, and they are not this call's results.
    task = dask.delayed(_run_partition, pure=True)
    settings = (root, quillet_command, arguments, jobs_per_task, timeout)
    call = uuid.uuid4().hex
    tasks = [task(part, *settings, dask_key_name="quillet-convert-" + dask.base.tokenize(call, part, *settings))
             for part in parts]
    frame = dd.from_delayed(tasks, meta=meta, verify_meta=False)
    return _ConversionFrame(frame.dask, frame._name, frame._meta, frame.divisions)
