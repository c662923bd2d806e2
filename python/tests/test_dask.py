"""quillet.dask on a LocalCluster of two workers."""

import json
import os
import pathlib
import shutil
import signal
import time

import pandas as pd
import pytest
from distributed import Client, LocalCluster

import quillet.dask

DATA = pathlib.Path(os.environ.get("QUILLET_TEST_DATA",
                                   pathlib.Path(__file__).resolve().parents[2] / "tests" / "data"))
STATUSES = {"word/english.doc": "ok", "word/stories.doc": "ok", "xls/english.xls": "ok",
            "package/libreoffice.docx": "ok", "rtf/wordpad.rtf": "ok", "pdf/encrypted-rc4.pdf": "encrypted",
            "sample.txt": "unsupported"}


@pytest.fixture(scope="module")
def client():
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=False, dashboard_address=None) as cluster:
        with Client(cluster) as client:
            yield client


def test_one_record_per_input_and_reruns_convert_only_what_is_missing(client, tmp_path, monkeypatch):
    monkeypatch.setenv("QUILLET_BATCH_TEST_HOOKS", "1")  # the batch worker aborts on *.abort
    shutil.copyfile(DATA / "word" / "english.doc", tmp_path / "bad.abort")
    expected = {str(DATA / name): status for name, status in STATUSES.items()}
    expected.update({str(tmp_path / "bad.abort"): "crash", str(tmp_path / "missing.doc"): "error"})
    out = tmp_path / "out"
    paths = list(expected) + [str(DATA / "word" / "english.doc")]
    frame = quillet.dask.convert(paths, out, partition_size=4, timeout=20)
    assert frame.npartitions == 3
    records = frame.compute().reset_index(drop=True)
    assert list(records.columns) == quillet.dask.COLUMNS
    assert dict(zip(records.path, records.status)) == expected
    assert list(records.path) == list(expected)
    for row in records[records.status == "ok"].itertuples():
        assert row.chars > 0 and (out / row.out / "1.txt").stat().st_size > 0
    log = (out / "results.jsonl").read_bytes()
    assert len(log.splitlines()) == len(expected)

    assert frame.compute().reset_index(drop=True).equals(records)
    assert (out / "results.jsonl").read_bytes() == log, "a second run converts nothing"

    # What a lost worker leaves: some records and half a line. Computing the same
    # frame at once, or a new one over the same paths, converts the rest.
    kept = log.splitlines(keepends=True)[:3]
    for rerun in (frame.compute, lambda: quillet.dask.convert(paths, out, partition_size=4, timeout=20).compute()):
        (out / "results.jsonl").write_bytes(b"".join(kept) + b'{"path":"/ha')
        again = rerun().reset_index(drop=True)
        assert dict(zip(again.path, again.status)) == expected
        lines = (out / "results.jsonl").read_bytes().splitlines(keepends=True)
        assert lines[:3] == kept and len(lines) == len(expected)


@pytest.mark.parametrize("paths, options, error", [
    ([os.fsencode(DATA / "sample.txt")], {}, TypeError),
    ([None], {}, TypeError),
    (str(DATA / "sample.txt"), {}, TypeError),
    (42, {}, TypeError),
    ([""], {}, ValueError),
    (["two\nlines.doc"], {}, ValueError),
    ([DATA / "word"], {}, IsADirectoryError),
    ([DATA / "sample.txt"], {"out_root": DATA / "sample.txt"}, NotADirectoryError),
    ([DATA / "sample.txt"], {"partition_size": 0}, ValueError),
    ([DATA / "sample.txt"], {"timeout": 1.5}, TypeError),
    ([DATA / "sample.txt"], {"jobs_per_task": True}, TypeError),
    ([DATA / "sample.txt"], {"text": False}, ValueError),
    ([DATA / "sample.txt"], {"text": "yes"}, TypeError),
    ([DATA / "sample.txt"], {"colour": True}, TypeError),
])
def test_programming_errors_raise_before_any_task(tmp_path, paths, options, error):
    options.setdefault("out_root", tmp_path)
    with pytest.raises(error):
        quillet.dask.convert(paths, **options)


def test_no_paths_give_an_empty_frame(tmp_path):
    assert list(quillet.dask.convert([], tmp_path).compute(scheduler="sync").columns) == quillet.dask.COLUMNS


@pytest.mark.parametrize("script", [None, "exit 3", "exec sleep 30"])
def test_a_batch_that_cannot_start_fails_or_hangs_raises(client, tmp_path, monkeypatch, script):
    command = tmp_path / "quillet"
    if script is not None:
        command.write_text("#!/bin/sh\n" + script + "\n")
        command.chmod(0o755)
    monkeypatch.setattr(quillet.dask, "_SLACK", 0)
    monkeypatch.setattr(quillet.dask, "_PER_DOCUMENT_SLACK", 0)
    frame = quillet.dask.convert([DATA / "sample.txt"], tmp_path / "out", quillet_command=command, timeout=1)
    with pytest.raises(quillet.dask.BatchError):
        frame.compute()


def test_every_compute_runs_the_batches_again(client, tmp_path):
    # distributed releases a compute's results after it returns: a compute right
    # behind it must still run the batches, not take the results the cluster holds.
    runs = tmp_path / "runs"
    command = tmp_path / "quillet"
    command.write_text(f'#!/bin/sh\necho run >> "{runs}"\nexec "{quillet.dask.find_command()}" "$@"\n')
    command.chmod(0o755)
    frame = quillet.dask.convert([DATA / "sample.txt", DATA / "rtf" / "wordpad.rtf"], tmp_path / "out",
                                 partition_size=1, quillet_command=command)
    assert [len(frame.compute()) for _ in range(5)] == [2] * 5
    assert len(runs.read_text().splitlines()) == 2 * 5


@pytest.mark.parametrize("sizes, jobs, workers, expected", [
    ([1000] * 10, 1, 2, [5, 5]),                    # little work: one partition per worker
    ([1000] * 3, 1, 8, [1, 1, 1]),                   # never more partitions than paths
    ([99_990_000] * 4, 1, 2, [1, 1, 1, 1]),          # about five seconds of work each
    ([99_990_000] * 4, 2, 1, [2, 2]),                # more batch workers, more work each
    ([199_990_000] + [1000] * 9, 1, 2, [1, 5, 4]),   # a large file takes a partition alone
    ([0] * 40_000, 1, 2, [10_000] * 4),              # many tiny ones: cut by their count
])
def test_partitions_follow_the_work(sizes, jobs, workers, expected):
    paths = [f"/d/{i}" for i in range(len(sizes))]
    parts = quillet.dask._partitions(paths, sizes, jobs, workers)
    assert [len(part) for part in parts] == expected
    assert [path for part in parts for path in part] == paths


def test_default_partitions_match_the_cluster(client, tmp_path):
    paths = [DATA / name for name in STATUSES]
    frame = quillet.dask.convert(paths, tmp_path / "out")
    assert frame.npartitions == 2
    assert list(frame.compute().path) == [str(path) for path in paths]


def test_a_worker_killed_mid_partition_loses_nothing(tmp_path, monkeypatch):
    # The partition's last document hangs its batch worker, so the Dask worker is
    # killed (it is the batch's parent, which the wrapper names) with the others
    # recorded. The task runs again on the other worker, and its batch converts
    # only what is missing.
    monkeypatch.setenv("QUILLET_BATCH_TEST_HOOKS", "1")
    shutil.copyfile(DATA / "word" / "english.doc", tmp_path / "slow.hang")
    started = tmp_path / "started"
    command = tmp_path / "quillet"
    command.write_text(f'#!/bin/sh\necho $PPID >> "{started}"\nexec "{quillet.dask.find_command()}" "$@"\n')
    command.chmod(0o755)
    expected = {str(DATA / name): status for name, status in STATUSES.items()}
    expected[str(tmp_path / "slow.hang")] = "timeout"
    out = tmp_path / "out"
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster:
        with Client(cluster) as client:
            future = client.compute(quillet.dask.convert(list(expected), out, partition_size=len(expected),
                                                         timeout=3, quillet_command=command))
            log = out / "results.jsonl"
            for _ in range(600):
                if log.exists() and len(log.read_bytes().splitlines()) == len(STATUSES):
                    break
                time.sleep(0.05)
            os.kill(int(started.read_text().split()[0]), signal.SIGKILL)
            records = future.result(timeout=120)
    assert len(started.read_text().split()) == 2, "the task ran again"
    assert dict(zip(records.path, records.status)) == expected
    assert len(log.read_bytes().splitlines()) == len(expected), "nothing converted twice"


def test_json_gives_doc_json_and_the_title_author_and_pages_columns(client, tmp_path):
    paths = [str(DATA / "pdf" / "latin-accented.pdf"), str(DATA / "word" / "english.doc"), str(DATA / "sample.txt")]
    records = quillet.dask.convert(paths, tmp_path, json=True).compute().set_index("path")
    pdf = records.loc[paths[0]]
    assert (pdf.title, pdf.pages) == ("Fixture", 2)
    assert pd.isna(records.loc[paths[2]].title) and pd.isna(records.loc[paths[2]].pages)
    assert str(records.pages.dtype) == "Int64"
    document = (tmp_path / pdf.out / "doc.json").read_text(encoding="utf-8")
    assert [part["kind"] for part in json.loads(document)["parts"]] == ["page", "page"]
    plain = quillet.dask.convert(paths[:1], tmp_path / "plain").compute().reset_index(drop=True)
    assert pd.isna(plain.title[0]) and not (tmp_path / "plain" / plain.out[0] / "doc.json").exists()
