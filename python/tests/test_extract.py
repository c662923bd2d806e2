"""quillet.extract() and `quillet text --json`: the text in parts, the properties, and the
committed schema every document's JSON validates against."""

import json
import subprocess

import jsonschema
import pytest

import quillet
import quillet.dask

from test_text import DATA, ROOT, documents

SCHEMA = json.loads((ROOT / "schema" / "document.schema.json").read_text(encoding="utf-8"))


def test_every_document_json_validates_and_extract_reads_the_same():
    validator = jsonschema.Draft202012Validator(SCHEMA)
    command = quillet.dask.find_command()
    faults = []
    for path in documents():
        if path.is_dir():
            continue
        run = subprocess.run([command, "text", "--json", "--extras", "--time-limit", "30", str(path)],
                             capture_output=True, timeout=300)
        printed = json.loads(run.stdout)
        faults += [f"{path}: {error.message}" for error in validator.iter_errors(printed)]
        try:
            document = quillet.extract(path, extras=True, time_limit=30)
        except quillet.Error as error:
            if error.result.code != printed["code"]:
                faults.append(f"{path}: raised for {error.result.code}, printed {printed['code']}")
            continue
        read = {"format": document.format, "code": document.code, "metadata": document.metadata,
                "parts": [part._asdict() for part in document.parts]}
        if read != printed:
            faults.append(f"{path}: extract() and text --json differ")
    assert faults == []


def test_extract_takes_what_text_takes():
    path = DATA / "letters" / "letters.docx"
    document = quillet.extract(path)
    assert document.format == "DOCX" and document.code == 0
    assert document.text == quillet.text(path)
    assert [part.kind for part in document.parts] == ["body"]
    assert isinstance(document.parts[0], quillet.Part) and document.parts[0].index == 1
    assert isinstance(document.metadata, dict)
    with open(path, "rb") as file:
        from_file = quillet.extract(file)
    from_bytes = quillet.extract(path.read_bytes())
    for other in (from_file, from_bytes):
        assert (other.parts, other.metadata) == (document.parts, document.metadata)
    assert "parts=1" in repr(document)

    plain = quillet.extract(DATA / "letters" / "letters.txt")
    assert plain.format == "TXT" and [part.kind for part in plain.parts] == ["document"]


def test_extract_raises_as_text_does():
    with pytest.raises(quillet.EncryptedError):
        quillet.extract(DATA / "pdf" / "encrypted-rc4.pdf")
    with pytest.raises(TypeError):
        quillet.extract(DATA / "letters" / "letters.docx", extras=1)
    with pytest.raises(FileNotFoundError):
        quillet.extract(DATA / "missing.docx")


def test_sheets_and_slides_come_with_their_names_and_numbers():
    workbook = quillet.extract(DATA / "xlsx" / "several-sheets.xlsx")
    assert [part.kind for part in workbook.parts] == ["sheet"] * 3
    assert [part.name for part in workbook.parts] == ["Inventory", "中文", "Empty"]
    slides = quillet.extract(DATA / "pptx" / "notes-comments.pptx", extras=True)
    assert [(part.kind, part.index) for part in slides.parts][:3] == [("slide", 1), ("notes", 1), ("comments", 1)]
    pdf = quillet.extract(DATA / "pdf" / "latin-accented.pdf")
    assert [part.index for part in pdf.parts] == list(range(1, pdf.metadata["pages"] + 1))
    assert pdf.metadata["title"] == "Fixture"
