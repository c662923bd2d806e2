#!/usr/bin/env python3
"""Hostile inputs against `quillet export`: result code, wall and CPU time and
peak memory (from /usr/bin/time -v) of each, and whether the peak stays within the
bound it must keep.

    bench/hostile-inputs.py QUILLET WORK [name ...]

QUILLET is the tool to run, WORK a scratch folder (it needs about 1 GiB of
sparse space and a few MB of real files). Exit status 1 when a peak passes its
bound or a result is not the one expected.
"""
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import time
import zipfile

MIB = 1 << 20
# The package budget: 512 MiB plus four times the package file.
PACKAGE_CAP = 512 * MIB
PER_SOURCE_BYTE = 4
# What the process holds besides: the library, Qt, the PDF engine, the tool.
BASELINE = 64 * MIB

CONTENT_TYPES = (
    '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>')


def rels(*entries):
    body = "".join('<Relationship Id="%s" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
                   'relationships/%s" Target="%s"/>' % e for e in entries)
    return ('<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
            'relationships">' + body + '</Relationships>')


def write_repeated(archive, name, head, unit, count, tail):
    info = zipfile.ZipInfo(name)
    info.compress_type = zipfile.ZIP_DEFLATED
    with archive.open(info, "w", force_zip64=True) as part:
        part.write(head.encode())
        block = unit.encode() * max(1, MIB // len(unit))
        per_block = len(block) // len(unit)
        done = 0
        while done + per_block <= count:
            part.write(block)
            done += per_block
        part.write(unit.encode() * (count - done))
        part.write(tail.encode())


def package(path, parts, bomb):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("[Content_Types].xml", CONTENT_TYPES)
        for name, text in parts.items():
            archive.writestr(name, text)
        write_repeated(archive, *bomb)


def shared_strings(path):
    # 2 GiB of shared strings.
    unit = "<si><t>x</t></si>"
    package(path, {
        "_rels/.rels": rels(("rId1", "officeDocument", "xl/workbook.xml")),
        "xl/workbook.xml": '<workbook xmlns:r="r"><sheets><sheet name="A" sheetId="1" r:id="rId1"/></sheets>'
                           '</workbook>',
        "xl/_rels/workbook.xml.rels": rels(("rId1", "worksheet", "worksheets/sheet1.xml"),
                                           ("rId2", "sharedStrings", "sharedStrings.xml")),
        "xl/worksheets/sheet1.xml": '<worksheet><sheetData><row><c t="s"><v>0</v></c></row></sheetData>'
                                    '</worksheet>',
    }, ("xl/sharedStrings.xml", "<sst>", unit, (2 << 30) // len(unit), "</sst>"))


def slide_list(path):
    # 48 million slide ids, 1.5 GB.
    package(path, {
        "_rels/.rels": rels(("rId1", "officeDocument", "ppt/presentation.xml")),
        "ppt/_rels/presentation.xml.rels": rels(("rId1", "slide", "slides/slide1.xml")),
        "ppt/slides/slide1.xml": "<p:sld><p:cSld><p:spTree><p:sp><p:txBody><a:p><a:r><a:t>A</a:t></a:r></a:p>"
                                 "</p:txBody></p:sp></p:spTree></p:cSld></p:sld>",
    }, ("ppt/presentation.xml", "<p:presentation><p:sldIdLst>", '<p:sldId id="256" r:id="rId1"/>',
        48_000_000, "</p:sldIdLst></p:presentation>"))


def doctype(path):
    document = ('<?xml version="1.0"?><!DOCTYPE w:document [<!ENTITY co "Acme">]>'
                '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>'
                '<w:p><w:r><w:t>Made by &co; for you</w:t></w:r></w:p></w:body></w:document>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("[Content_Types].xml", CONTENT_TYPES)
        archive.writestr("_rels/.rels", rels(("rId1", "officeDocument", "word/document.xml")))
        archive.writestr("word/document.xml", document + " " * 600)


def rtf_text(path, size=100 * MIB):
    line = b"Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor.\\par\r\n"
    with open(path, "wb") as out:
        out.write(b"{\\rtf1\\ansi ")
        out.write(line * (size // len(line)))
        out.write(b"}")


def rtf_zeros(path):
    with open(path, "wb") as out:
        out.write(b"{\\rtf1 ")
        out.truncate((1 << 30) - 1)


def rtf_bin(path):
    with open(path, "wb") as out:
        out.write(b"{\\rtf1 " + b"before " * 100 + b"{\\pict\\pngblip\\bin999999 \x89PNG}after}")


# name: (builder, expected code, peak bound from the source size, check of 1.txt, file-size limit)
INPUTS = {
    "shared-strings.xlsx": (shared_strings, 1, lambda n: PACKAGE_CAP + PER_SOURCE_BYTE * n, None, 0),
    "slide-list.pptx": (slide_list, 4098, lambda n: PACKAGE_CAP + PER_SOURCE_BYTE * n, None, 0),
    "text-100mb.rtf": (rtf_text, 0, lambda n: 2 * n, None, 0),
    "zeros-1gib.rtf": (rtf_zeros, 0, lambda n: 2 * n, lambda text: len(text) == 0, 0),
    "bin-past-end.rtf": (rtf_bin, 0, None, lambda text: text.endswith(b"after\r\n") and b"PNG" not in text, 0),
    "doctype.docx": (doctype, 0, None, lambda text: b"Made by &co; for you" in text, 0),
    "full-disk.rtf": (lambda p: rtf_text(p, 900_000), 27, None, lambda text: text is None, 65536),
}


def limited(limit):
    def apply():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    return apply if limit else None


def run(quillet, source, out, limit):
    shutil.rmtree(out, ignore_errors=True)
    started = time.monotonic()
    done = subprocess.run(["/usr/bin/time", "-v", quillet, "export", source, out], capture_output=True,
                          preexec_fn=limited(limit))
    wall = time.monotonic() - started
    peak = int(re.search(rb"Maximum resident set size \(kbytes\): (\d+)", done.stderr).group(1)) * 1024
    cpu = sum(float(re.search(rb"%s time \(seconds\): ([\d.]+)" % kind, done.stderr).group(1))
              for kind in (b"User", b"System"))
    code = int(done.stdout.split()[0]) if done.stdout.split() else None
    text_path = os.path.join(out, "1.txt")
    text = open(text_path, "rb").read() if os.path.exists(text_path) else None
    return code, wall, cpu, peak, text


def main():
    quillet, work = sys.argv[1], sys.argv[2]
    names = sys.argv[3:] or list(INPUTS)
    os.makedirs(work, exist_ok=True)
    failed = False
    print("%-20s %6s %9s %9s %10s  %s" % ("input", "code", "wall s", "cpu s", "peak MiB", "verdict"))
    for name in names:
        build, expected, bound, check, limit = INPUTS[name]
        source = os.path.join(work, name)
        if not os.path.exists(source):
            build(source)
        code, wall, cpu, peak, text = run(quillet, source, os.path.join(work, "out-" + name), limit)
        problems = []
        if code != expected:
            problems.append("code %s, not %s" % (code, expected))
        if bound is not None and peak > bound(os.path.getsize(source)) + BASELINE:
            problems.append("peak over %d MiB" % ((bound(os.path.getsize(source)) + BASELINE) // MIB))
        if check is not None and not check(text):
            problems.append("unexpected 1.txt")
        failed = failed or bool(problems)
        print("%-20s %6s %9.2f %9.2f %10.1f  %s" % (name, code, wall, cpu, peak / MIB, "; ".join(problems) or "ok"))
        sys.stdout.flush()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
