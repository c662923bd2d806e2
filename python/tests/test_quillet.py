"""The quillet Python package on the project's fixtures."""

import os
import pathlib
import shutil
import threading

import pytest

import quillet

DATA = pathlib.Path(os.environ.get("QUILLET_TEST_DATA",
                                   pathlib.Path(__file__).resolve().parents[2] / "tests" / "data"))
ENGLISH = DATA / "word" / "english.doc"
ENGLISH_TEXT = quillet.text(ENGLISH)
ENGLISH_EXPORT = (DATA / "expected" / "word" / "english.doc-0x11.txt").read_bytes()


@pytest.mark.parametrize("fixture, name", [
    ("word/english.doc", "DOC"),
    ("package/libreoffice.pptx", "PPTX"),
    ("sample.txt", "NOT_SUPPORT"),
])
def test_detect_names_the_format(fixture, name):
    assert quillet.detect(DATA / fixture) == name
    assert quillet.detect(str(DATA / fixture)) == name


def test_detect_gives_none_for_an_archive_without_a_document(tmp_path):
    archive = tmp_path / "plain.zip"
    shutil.make_archive(str(tmp_path / "plain"), "zip", DATA / "pdf")
    assert quillet.detect(archive) is None


def test_text_from_a_path_bytes_or_a_file_object_is_the_same_readable_text():
    for name in ("word/english.doc", "xls/english.xls", "ppt/slides.ppt", "rtf/wordpad.rtf", "letters/letters.txt"):
        text = quillet.text(DATA / name)
        assert text and "\r" not in text and "\x07" not in text, name
        assert quillet.text((DATA / name).read_bytes()) == text, name
        with open(DATA / name, "rb") as file:
            assert quillet.text(file) == text, name
    assert "\u201cCurly quotes\u201d" in ENGLISH_TEXT and "alpha\tbeta\ngamma" in ENGLISH_TEXT
    stories = DATA / "docx" / "stories.docx"
    assert "Quarterly header line" in quillet.text(stories, extras=True)
    assert "Quarterly header line" not in quillet.text(stories)


@pytest.mark.parametrize("source, error", [
    (DATA / "pdf" / "encrypted-aes256.pdf", quillet.EncryptedError),
    (DATA / "docx" / "picture.fodt", quillet.UnsupportedError),
    (b"\x00\x01" * 400, quillet.UnsupportedError),
])
def test_text_of_a_document_that_cannot_be_read_raises_its_error(source, error):
    with pytest.raises(error):
        quillet.text(source)


def test_version_and_type_hints_ship_with_the_package():
    assert quillet.__version__.count(".") == 2
    assert (pathlib.Path(quillet.__file__).parent / "py.typed").exists()
    for name in quillet.__all__:
        item = getattr(quillet, name)
        assert isinstance(item, str) or item.__doc__, name


def test_export_writes_the_text_and_on_request_the_pictures(tmp_path):
    result = quillet.export(ENGLISH, tmp_path / "out")
    assert (result.code, result.name, result.ok) == (0, "Success", True)
    assert result.check() is result
    assert (tmp_path / "out" / "1.txt").read_bytes() == ENGLISH_EXPORT
    assert quillet.export(DATA / "pdf" / "latin-accented.pdf", tmp_path / "p", text=False, pictures=True).ok
    assert sorted(os.listdir(tmp_path / "p")) == ["image1.jpg"]


@pytest.mark.parametrize("fixture, out, code, name, error", [
    ("pdf/encrypted-aes256.pdf", ".", 4102, "Encrypted", quillet.EncryptedError),
    ("sample.txt", ".", 4097, "Unsupported", quillet.UnsupportedError),
    ("word/english.doc", "file/out", 2, "OutputFolderMissing", quillet.OutputFolderError),
])
def test_faults_are_results_and_check_raises_their_type(tmp_path, fixture, out, code, name, error):
    (tmp_path / "file").write_bytes(b"a file where a folder would go")
    result = quillet.export(DATA / fixture, tmp_path / out)
    assert (result.code, result.name, result.ok) == (code, name, False)
    with pytest.raises(error) as raised:
        result.check()
    assert isinstance(raised.value, quillet.Error)
    assert raised.value.result is result
    assert not (tmp_path / "1.txt").exists()


def test_non_ascii_file_and_folder_names(tmp_path):
    source = tmp_path / "r\u00e9sum\u00e9 \u6587\u6863.doc"
    shutil.copyfile(ENGLISH, source)
    assert quillet.detect(source) == "DOC"
    assert quillet.text(source) == ENGLISH_TEXT
    text = tmp_path / "\u0437\u0430\u043c\u0435\u0442\u043a\u0438 \u7b14\u8bb0.txt"
    shutil.copyfile(DATA / "sample.txt", text)
    assert quillet.text(text) == (DATA / "sample.txt").read_text(encoding="utf-8-sig")
    folder = tmp_path / "\u0432\u044b\u0432\u043e\u0434" / "missing" / "parents"
    assert quillet.export(str(source), folder).ok
    assert (folder / "1.txt").read_bytes() == ENGLISH_EXPORT


@pytest.mark.parametrize("call", ["detect", "text", "export"])
@pytest.mark.parametrize("path, error", [
    (os.fsencode(ENGLISH), TypeError),
    (None, TypeError),
    (42, TypeError),
    ("", ValueError),
    ("bad\0name.doc", ValueError),
    (DATA / "missing.doc", FileNotFoundError),
    (DATA / "word", IsADirectoryError),
])
def test_programming_errors_raise(call, path, error):
    if call == "text" and isinstance(path, bytes):
        return  # text() reads bytes as the document itself
    with pytest.raises(error):
        quillet.export(path, "out") if call == "export" else getattr(quillet, call)(path)


@pytest.mark.parametrize("options, error", [
    ({"text": False}, ValueError),
    ({"time_limit": 0}, ValueError),
    ({"time_limit": 1.5}, TypeError),
])
def test_bad_export_options_raise(tmp_path, options, error):
    with pytest.raises(error):
        quillet.export(ENGLISH, tmp_path, **options)


def test_two_threads_convert_at_once(tmp_path):
    pdf = DATA / "pdf" / "latin-accented.pdf"
    expected_pdf = quillet.text(pdf)
    assert expected_pdf.strip()
    failures = []
    start = threading.Barrier(2)

    def work(index):
        start.wait()
        for round_ in range(15):
            out = tmp_path / f"t{index}-{round_}"
            if quillet.text(pdf) != expected_pdf or quillet.text(ENGLISH) != ENGLISH_TEXT:
                failures.append((index, round_, "text"))
            if not quillet.export(pdf, out, pictures=True).ok or not (out / "image1.jpg").exists():
                failures.append((index, round_, "export"))

    threads = [threading.Thread(target=work, args=(index,)) for index in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert failures == []
