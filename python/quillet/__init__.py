"""Plain text and pictures out of office documents, RTF and PDF, through libquillet.

    import quillet
    print(quillet.text("report.doc"))            # the whole text, readable
    doc = quillet.extract("report.pdf")           # text, metadata and parts
    print(doc.metadata.get("title"), [part.index for part in doc.parts])
    result = quillet.export("report.doc", "out", pictures=True)
    result.check()          # raises quillet.EncryptedError, quillet.DamagedError, ...

Conversions release the GIL, so threads convert in parallel.
"""

import errno as _errno
import json as _json
import os as _os
from typing import Any, BinaryIO, Dict, List, NamedTuple, Optional, Union

from . import _quillet

__all__ = [
    "__version__", "detect", "text", "extract", "export", "Result", "Document", "Part",
    "Error", "OpenError", "OutputFolderError", "UnsupportedError", "DamagedError",
    "StructureMissingError", "UnreadableError", "RefusedError", "EncryptedError",
    "TimeLimitError", "PageFailureError",
]

#: The version of quillet, the library and this package alike.
__version__: str = _quillet.__version__

PathLike = Union[str, "_os.PathLike[str]"]


class Error(Exception):
    """A document could not be converted; ``result`` holds the Result."""

    def __init__(self, result: "Result") -> None:
        super().__init__(f"{result.code} {result.name}: {result.path}")
        self.result = result


class OpenError(Error):
    """The source could not be opened, or an output file created or written
    (the code is the errno: 28 for a full disk, 27 past a file-size limit)."""


class OutputFolderError(Error):
    """The output folder does not exist and cannot be made."""


class UnsupportedError(Error):
    """Unknown format, a size outside what is converted, or no known document inside."""


class DamagedError(Error):
    """The document is damaged and the conversion was abandoned."""


class StructureMissingError(Error):
    """A Word document without its text structures, or a package whose
    relationships name no main part that it holds."""


class UnreadableError(Error):
    """A spreadsheet without a workbook, or RTF that cannot be read."""


class RefusedError(Error):
    """A PDF refused by the flags, or a presentation without content."""


class EncryptedError(Error):
    """The document is encrypted."""


class TimeLimitError(Error):
    """The PDF time limit passed; the pages done so far were written."""


class PageFailureError(Error):
    """A PDF page could not be parsed; the pages before it were written."""


# code: (name, exception); names are those of the C++ quillet::ResultCode.
_CODES = {
    0: ("Success", None),
    1: ("SharedStringsOnly", None),
    2: ("OutputFolderMissing", OutputFolderError),
    4097: ("Unsupported", UnsupportedError),
    4098: ("ConversionFailed", DamagedError),
    4099: ("WordStructureMissing", StructureMissingError),
    4100: ("Unreadable", UnreadableError),
    4101: ("Refused", RefusedError),
    4102: ("Encrypted", EncryptedError),
    4103: ("PdfTimeLimit", TimeLimitError),
    4104: ("PdfPageFailure", PageFailureError),
}
# Codes that come with the document's text: a presentation without content
# has an empty one.
_TEXT_CODES = (0, 1, 4101)


class Result:
    """The outcome of export(): ``code``, ``name``, ``ok``, and ``check()``.

    ``ok`` is true for 0 and for 1 (a workbook written as its unique strings).
    Other codes below 4097 are the errno of opening the source or of creating
    or writing the output; their name is the errno's symbol, such as ``EACCES``
    or ``ENOSPC``.
    """

    __slots__ = ("code", "path", "folder")

    def __init__(self, code: int, path: str, folder: Optional[str]) -> None:
        self.code = code
        self.path = path
        self.folder = folder

    @property
    def name(self) -> str:
        """The code's name: ``Success``, ``Encrypted``, ... or an errno symbol."""
        known = _CODES.get(self.code)
        if known is not None:
            return known[0]
        return _errno.errorcode.get(self.code, f"Errno{self.code}")

    @property
    def ok(self) -> bool:
        """True for 0 and 1."""
        return self.code in (0, 1)

    def check(self) -> "Result":
        """Returns self when ok; raises the Error subclass for the code otherwise."""
        if self.ok:
            return self
        known = _CODES.get(self.code)
        raise (known[1] if known is not None else OpenError)(self)

    def __repr__(self) -> str:
        return f"Result(code={self.code}, name={self.name!r}, path={self.path!r})"


def _native(path: object, what: str = "path") -> bytes:
    """The file system bytes of a str or os.PathLike path."""
    if isinstance(path, (bytes, bytearray)) or path is None:
        raise TypeError(f"{what} must be str or os.PathLike, not {type(path).__name__}")
    path = _os.fspath(path)  # type: ignore[arg-type]
    if not isinstance(path, str):
        raise TypeError(f"{what} must be str or os.PathLike, not {type(path).__name__}")
    if "\0" in path:
        raise ValueError(f"{what} holds a null character")
    if not path:
        raise ValueError(f"{what} is empty")
    return _os.fsencode(path)


def _source(path: PathLike) -> bytes:
    native = _native(path)
    if not _os.path.exists(native):
        raise FileNotFoundError(_errno.ENOENT, "No such file", _os.fspath(path))
    if _os.path.isdir(native):
        raise IsADirectoryError(_errno.EISDIR, "Is a directory", _os.fspath(path))
    return native


def _time_limit(time_limit: int) -> int:
    if isinstance(time_limit, bool) or not isinstance(time_limit, int):
        raise TypeError("time_limit must be an int")
    if time_limit <= 0 or time_limit > 2**31 - 1:
        raise ValueError("time_limit must be a positive number of seconds")
    return time_limit


def detect(path: PathLike) -> Optional[str]:
    """The format name of the file: DOC XLS PPT DOCX XLSX PPTX PDF RTF NOT_SUPPORT, or None
    for an archive or compound file that holds no known document."""
    return _quillet.detect(_source(path))


class Part(NamedTuple):
    """A piece of a document's text where its format splits it.

    ``kind`` is "page" (PDF), "sheet" (``name`` is the sheet's), "slide", "notes" and
    "comments" (presentations, ``index`` the slide's number), "body", "headers",
    "footnotes", "endnotes", "comments", "textboxes" (word processing), "strings" (a
    workbook read as its shared strings) or "document" (a text not split).
    """

    kind: str
    index: int
    name: str
    text: str


class Document:
    """What extract() read: ``text``, ``metadata`` (title, author, created, modified,
    pages, ... as the document keeps them; dates ISO 8601), ``parts`` (whose texts
    joined are ``text``), ``format`` and the result ``code``."""

    __slots__ = ("code", "format", "metadata", "parts")

    def __init__(self, code: int, format: Optional[str], metadata: Dict[str, Any],
                 parts: List[Part]) -> None:
        self.code = code
        self.format = format
        self.metadata = metadata
        self.parts = parts

    @property
    def text(self) -> str:
        """The whole readable text, as text() gives it."""
        return "".join(part.text for part in self.parts)

    def __repr__(self) -> str:
        return (f"Document(format={self.format!r}, code={self.code}, "
                f"metadata={len(self.metadata)} entries, parts={len(self.parts)})")


def _read(source: Union[PathLike, bytes, bytearray, memoryview, BinaryIO], call: Any,
          extras: bool, time_limit: int) -> Any:
    """The native call's answer for a path, bytes or a binary file object, and the name
    to report; raises the Error subclass of a code that comes without text."""
    if not isinstance(extras, bool):
        raise TypeError("extras must be a bool")
    limit = _time_limit(time_limit)
    if isinstance(source, (bytes, bytearray, memoryview)):
        name, answer = "<bytes>", call(bytes(source), False, extras, limit)
    elif hasattr(source, "read"):
        data = source.read()  # type: ignore[union-attr]
        if not isinstance(data, bytes):
            raise TypeError("a file object given to quillet must be opened in binary mode")
        name = getattr(source, "name", "<file>")
        answer = call(data, False, extras, limit)
    else:
        name = _os.fspath(source)
        answer = call(_source(source), True, extras, limit)
    if answer[0] not in _TEXT_CODES:
        Result(answer[0], str(name), None).check()
    return answer


def extract(source: Union[PathLike, bytes, bytearray, memoryview, BinaryIO], *,
            extras: bool = False, time_limit: int = 300) -> Document:
    """The document's text (as text() gives it), properties and parts: a Document.

    Takes what text() takes and raises what it raises.
    """
    code, format_name, metadata, parts = _read(source, _quillet.readable_document, extras,
                                               time_limit)
    return Document(code, format_name or None, _json.loads(metadata),
                    [Part(*part) for part in parts])


def text(source: Union[PathLike, bytes, bytearray, memoryview, BinaryIO], *, extras: bool = False,
         time_limit: int = 300) -> str:
    """The document's whole text, readable: every letter kept, paragraphs and line breaks
    on lines of their own, table cells separated by tabs, no carriage returns, other
    control characters or field codes.

    source is a path (str or os.PathLike; names ending in ".txt" are read as plain text),
    the document's bytes, or a binary file object read to its end; the format of bytes
    comes from the bytes themselves. ``extras`` adds headers, footers, comments and notes;
    ``time_limit`` bounds PDF conversions in seconds. A document that cannot be read
    raises the Error subclass for its result code (EncryptedError, UnsupportedError, ...).
    """
    return _read(source, _quillet.readable_text, extras, time_limit)[1]


def export(path: PathLike, folder: PathLike, *, text: bool = True, pictures: bool = False,
           extras: bool = False, time_limit: int = 300) -> Result:
    """Writes ``folder/1.txt`` as the library does (and the pictures beside it), making
    the folder and its missing parents, and returns a Result; raises nothing for document
    faults. ``extras`` implies ``text``; ``time_limit`` bounds PDF conversions in seconds."""
    source = _source(path)
    target = _native(folder, "folder")
    flags = 0
    if text or extras:
        flags |= _quillet.WRITE_TEXT
    if extras:
        flags |= _quillet.WRITE_EXTRAS
    if pictures:
        flags |= _quillet.WRITE_PICTURES
    if flags == 0:
        raise ValueError("nothing to write: text, pictures and extras are all off")
    limit = _time_limit(time_limit)
    parent = _os.path.dirname(target.rstrip(b"/"))
    if parent and not _os.path.isdir(parent):
        try:
            _os.makedirs(parent, exist_ok=True)
        except OSError:
            pass  # the library answers OutputFolderMissing
    code = _quillet.export(source, target, flags, limit)
    return Result(code, _os.fspath(path), _os.fspath(folder))
