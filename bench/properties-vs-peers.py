#!/usr/bin/env python3
"""Document properties as quillet reads them beside what the peers show.

    bench/properties-vs-peers.py QUILLET SAMPLES [--limit N] [--only pdf,doc,...]

For each sample, `quillet meta` against LibreOffice (the document converted
headless to OpenDocument, whose meta.xml holds what File > Properties shows)
and, for PDF, pdfinfo. Prints, per format, how many documents keep a title,
an author, dates and a page count, how many of those agree with the peer, and
every disagreement.
"""
import collections
import datetime
import json
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
import zipfile

NS = {"office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
      "meta": "urn:oasis:names:tc:opendocument:xmlns:meta:1.0",
      "dc": "http://purl.org/dc/elements/1.1/"}
TARGET = {"doc": "odt", "docx": "odt", "rtf": "odt", "xls": "ods", "xlsx": "ods", "ppt": "odp", "pptx": "odp"}


def libreoffice(path, kind, scratch):
    """title, author (initial creator), created, modified of the document as LibreOffice reads it."""
    subprocess.run(["soffice", "--headless", "--convert-to", TARGET[kind], "--outdir", scratch, path],
                   capture_output=True, timeout=120)
    converted = os.path.join(scratch, os.path.splitext(os.path.basename(path))[0] + "." + TARGET[kind])
    if not os.path.exists(converted):
        return None
    with zipfile.ZipFile(converted) as package:
        meta = ElementTree.fromstring(package.read("meta.xml")).find("office:meta", NS)
    os.remove(converted)
    found = {}
    for key, tag in (("title", "dc:title"), ("author", "meta:initial-creator"),
                     ("created", "meta:creation-date"), ("modified", "dc:date")):
        element = meta.find(tag, NS) if meta is not None else None
        if element is not None and element.text and element.text.strip():
            found[key] = element.text
    return found


def pdfinfo(path):
    output = subprocess.run(["pdfinfo", "-isodates", path], capture_output=True, timeout=60).stdout
    names = {"Title": "title", "Author": "author", "CreationDate": "created", "ModDate": "modified",
             "Pages": "pages"}
    found = {}
    for line in output.decode("utf-8", "replace").splitlines():
        key, _, value = line.partition(":")
        value = value.strip()
        if key in names and value:
            found[names[key]] = value
    return found


def utc_minute(text):
    """A time to the minute in UTC: pdfinfo gives an offset, LibreOffice no zone (its
    times are the file's own, UTC for what quillet gives as UTC)."""
    match = re.match(r"(\d{4})-?(\d\d)-?(\d\d)T?(\d\d):?(\d\d)(?::?\d\d(?:\.\d+)?)?(Z|[+-]\d\d(?::?\d\d)?)?", text)
    if not match:
        return text
    year, month, day, hour, minute, zone = match.groups()
    moment = datetime.datetime(int(year), int(month), int(day), int(hour), int(minute))
    if zone and zone != "Z":
        sign = 1 if zone[0] == "+" else -1
        digits = zone[1:].replace(":", "")
        moment -= sign * datetime.timedelta(hours=int(digits[:2]), minutes=int(digits[2:4] or 0))
    return moment.strftime("%Y-%m-%dT%H:%M")


def same(key, ours, theirs):
    if ours is None or theirs is None:
        return ours is None and theirs is None
    if key in ("created", "modified"):
        return utc_minute(str(ours)) == utc_minute(theirs)
    return str(ours).strip() == str(theirs).strip()


def main():
    quillet, samples = sys.argv[1], sys.argv[2]
    limit = int(sys.argv[sys.argv.index("--limit") + 1]) if "--limit" in sys.argv else None
    only = sys.argv[sys.argv.index("--only") + 1].split(",") if "--only" in sys.argv else None
    rows = [line.split("\t") for line in open(os.path.join(samples, "MANIFEST.tsv"), encoding="utf-8")][1:]
    kept = collections.defaultdict(collections.Counter)
    agreed = collections.defaultdict(collections.Counter)
    differences = []
    with tempfile.TemporaryDirectory() as scratch:
        for row in rows[:limit]:
            path, kind = os.path.join(samples, row[0]), row[1]
            if (kind not in TARGET and kind != "pdf") or (only and kind not in only):
                continue
            answer = subprocess.run([quillet, "meta", path], capture_output=True, timeout=120).stdout
            ours = json.loads(answer or b"{}")
            theirs = pdfinfo(path) if kind == "pdf" else libreoffice(path, kind, scratch)
            kept[kind]["files"] += 1
            if theirs is None:
                continue
            kept[kind]["peer read"] += 1
            for key in ("title", "author", "created", "modified", "pages"):
                if key == "pages" and kind != "pdf":
                    if key in ours:
                        kept[kind][key] += 1
                    continue
                if key in ours:
                    kept[kind][key] += 1
                if key in ours or key in theirs:
                    if same(key, ours.get(key), theirs.get(key)):
                        agreed[kind][key] += 1
                    else:
                        differences.append((row[0], key, ours.get(key), theirs.get(key)))
    keys = ("title", "author", "created", "modified", "pages")
    print(f"{'format':7}{'files':>6}{'peer':>6}" + "".join(f"{key:>14}" for key in keys))
    for kind in sorted(kept):
        cells = "".join(f"{kept[kind][key]:>6} ({agreed[kind][key]:>3} =)" for key in keys)
        print(f"{kind:7}{kept[kind]['files']:>6}{kept[kind]['peer read']:>6}{cells}")
    print("\nn: documents quillet finds it in; (k =): of those where either side has it, how many agree")
    for path, key, ours, theirs in differences:
        print(f"{path}\t{key}\tquillet={ours!r}\tpeer={theirs!r}")


if __name__ == "__main__":
    main()
