"""`quillet text` and quillet.text() give the same text, or fail the same way, for every
sample document (../shared/samples beside the project) and fixture."""

import csv
import os
import pathlib
import subprocess

import pytest

import quillet
import quillet.dask

ROOT = pathlib.Path(__file__).resolve().parents[2]
SAMPLES = pathlib.Path(os.environ.get("QUILLET_SAMPLES", ROOT.parent / "shared" / "samples"))
DATA = ROOT / "tests" / "data"
# The exit status of `quillet text` for each error quillet.text() raises.
STATUSES = {quillet.OpenError: 3, quillet.UnsupportedError: 4, quillet.EncryptedError: 5,
            quillet.DamagedError: 6, quillet.StructureMissingError: 6, quillet.UnreadableError: 6,
            quillet.TimeLimitError: 7, quillet.PageFailureError: 8}


def documents():
    manifest = SAMPLES / "MANIFEST.tsv"
    if not manifest.exists():
        if os.environ.get("CI"):
            pytest.fail(f"CI is set but there are no sample documents at {SAMPLES}")
        pytest.skip(f"no sample documents at {SAMPLES}")
    with open(manifest, newline="", encoding="utf-8") as rows:
        samples = [SAMPLES / row["path"] for row in csv.DictReader(rows, delimiter="\t")]
    return samples + sorted(path for path in DATA.glob("*/*.*") if not path.name.startswith("."))


def test_the_tool_and_the_module_agree_on_every_document():
    command = quillet.dask.find_command()
    disagreements = []
    for path in documents():
        if path.is_dir():
            continue
        try:
            text, status = quillet.text(path, extras=True, time_limit=30), 0
        except quillet.Error as error:
            text, status = None, STATUSES[type(error)]
        run = subprocess.run([command, "text", "--extras", "--time-limit", "30", str(path)], capture_output=True,
                             timeout=300)
        if run.returncode != status or (text is not None and run.stdout.decode("utf-8") != text):
            disagreements.append(f"{path}: status {run.returncode} against {status}")
    assert disagreements == []
