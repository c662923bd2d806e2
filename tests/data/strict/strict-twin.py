#!/usr/bin/env python3
"""Writes the Strict Open XML twin of a transitional package.

LibreOffice 7.4 reads Strict packages but saves transitional ones only, so
the Strict twins here are LibreOffice's files with the names Word uses in
Strict packages: relationship types and namespace URIs under
http://purl.oclc.org/ooxml/ instead of http://schemas.openxmlformats.org/.
The package's own namespaces (relationships, content types, core
properties) and markup compatibility stay as they are.

usage: strict-twin.py TRANSITIONAL STRICT
"""
import re
import sys
import zipfile

KEEP = ("package/2006/", "markup-compatibility/2006")
RENAMED_TYPES = {"extended-properties": "extendedProperties"}


def strict_uri(match):
    uri = match.group(0)
    if any(kept in uri for kept in KEEP):
        return uri
    area, rest = match.group(1), match.group(2)
    if area == "officeDocument" and rest.startswith("relationships/"):
        name = rest[len("relationships/"):]
        return "http://purl.oclc.org/ooxml/officeDocument/relationships/" + RENAMED_TYPES.get(name, name)
    return "http://purl.oclc.org/ooxml/%s/%s" % (area, rest)


def main(source, target):
    pattern = re.compile(r"http://schemas\.openxmlformats\.org/(\w+)/2006/([\w/-]+)")
    with zipfile.ZipFile(source) as old, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as new:
        for info in old.infolist():
            data = old.read(info)
            if info.filename.endswith((".xml", ".rels")):
                data = pattern.sub(strict_uri, data.decode("utf-8")).encode("utf-8")
            new.writestr(info, data)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
