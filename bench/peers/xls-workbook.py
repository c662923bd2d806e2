#!/usr/bin/env python3
"""Writes a BIFF8 workbook (.xls) of generated cells: shared-string text,
numbers and dates in turn, spread over several sheets, in an OLE2 compound
file of 512-byte sectors.

    xls-workbook.py OUT CELLS [SHEETS]
"""
import struct
import sys


def record(kind, body=b""):
    return struct.pack("<HH", kind, len(body)) + body


def bof(kind):
    return record(0x0809, struct.pack("<HHHHII", 0x0600, kind, 0x0DBB, 0x07CC, 0, 6))


def formats():
    # One font, a date format, 15 style XFs, then cell XFs: 15 general, 21 the date.
    font = record(0x0031, struct.pack("<HHHHHBBBB", 200, 0, 0x7FFF, 400, 0, 0, 0, 0, 0) + b"\x05\x00Arial")
    text = "yyyy-mm-dd"
    date = record(0x041E, struct.pack("<HHB", 164, len(text), 0) + text.encode("latin-1"))
    xfs = b""
    for k in range(22):
        style = 0xFFF5 if k < 15 else 0x0001
        xfs += record(0x00E0, struct.pack("<HHH", 0, 164 if k == 21 else 0, style) + b"\x20" + b"\0" * 13)
    return font + date + xfs


def sst_records(strings, uses):
    # Strings never straddle a record here; a new CONTINUE starts instead.
    out, body, first = [], struct.pack("<II", uses, len(strings)), True
    for s in strings:
        data = struct.pack("<HB", len(s), 0) + s.encode("latin-1")
        if len(body) + len(data) > 8224:
            out.append(record(0x00FC if first else 0x003C, body))
            body, first = b"", False
        body += data
    out.append(record(0x00FC if first else 0x003C, body))
    return b"".join(out)


def workbook(cells, sheets):
    columns = 8
    unique = max(cells // 10, 1)
    strings = ["%s %d" % (("alpha", "beta", "gamma", "delta")[i % 4], i) for i in range(unique)]
    per_sheet = (cells + sheets - 1) // sheets
    bodies, uses = [], 0
    for sheet in range(sheets):
        parts = [bof(0x0010)]
        count = min(per_sheet, cells - sheet * per_sheet)
        for i in range(count):
            row, col = divmod(i, columns)
            row %= 65536
            head = struct.pack("<HHH", row, col, 15)
            kind = col % 4
            if kind in (0, 2):
                parts.append(record(0x00FD, head + struct.pack("<I", (i * 7919 + sheet) % unique)))
                uses += 1
            elif kind == 1:
                parts.append(record(0x0203, head + struct.pack("<d", i * 1.25 + 0.1)))
            else:
                parts.append(record(0x027E, struct.pack("<HHH", row, col, 21) + struct.pack("<I", ((40000 + i % 9000) << 2) | 2)))
        parts.append(record(0x000A))
        bodies.append(b"".join(parts))
    globals_head = bof(0x0005) + record(0x0042, struct.pack("<H", 1200)) + formats()
    names = [("Sheet%d" % (k + 1)).encode("latin-1") for k in range(sheets)]
    sheet_records_size = sum(4 + 8 + len(n) for n in names)
    tail = sst_records(strings, uses) + record(0x000A)
    offset = len(globals_head) + sheet_records_size + len(tail)
    sheet_records = b""
    for name, body in zip(names, bodies):
        sheet_records += record(0x0085, struct.pack("<IBBBB", offset, 0, 0, len(name), 0) + name)
        offset += len(body)
    return globals_head + sheet_records + tail + b"".join(bodies)


def compound(name, data):
    s = 512
    size = len(data)
    assert size >= 4096, "streams below 4096 bytes belong in the mini stream"
    data += b"\0" * (-len(data) % s)
    n_data = len(data) // s
    n_fat = n_difat = 0
    while True:
        total = n_data + 1 + n_fat + n_difat
        need_fat = -(-total // 128)
        need_difat = 0 if need_fat <= 109 else -(-(need_fat - 109) // 127)
        if (need_fat, need_difat) == (n_fat, n_difat):
            break
        n_fat, n_difat = need_fat, need_difat
    # Sector order: data, directory, FAT, DIFAT.
    directory_at = n_data
    fat_at = n_data + 1
    difat_at = fat_at + n_fat
    fat = list(range(1, n_data)) + [-2, -2] + [-3] * n_fat + [-4] * n_difat
    fat += [-1] * (n_fat * 128 - len(fat))
    fat_bytes = struct.pack("<%di" % len(fat), *fat)
    fat_sectors = list(range(fat_at, fat_at + n_fat))
    head_list = fat_sectors[:109] + [-1] * (109 - min(109, n_fat))
    difat = b""
    rest = fat_sectors[109:]
    for k in range(n_difat):
        chunk = rest[k * 127:(k + 1) * 127]
        chunk += [-1] * (127 - len(chunk))
        nxt = difat_at + k + 1 if k + 1 < n_difat else -2
        difat += struct.pack("<128i", *(chunk + [nxt]))
    header = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + b"\0" * 16 + struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6)
    header += b"\0" * 6 + struct.pack("<IIIIIIIII", 0, n_fat, directory_at, 0, 4096, 0xFFFFFFFE, 0,
                                       difat_at if n_difat else 0xFFFFFFFE, n_difat)
    header += struct.pack("<109i", *head_list)

    def entry(entry_name, kind, child, start, size):
        encoded = entry_name.encode("utf-16le") + b"\0\0"
        e = encoded + b"\0" * (64 - len(encoded))
        e += struct.pack("<HBBiii", len(encoded), kind, 1, -1, -1, child)
        e += b"\0" * 36 + struct.pack("<iII", start, size, 0)
        return e

    directory = entry("Root Entry", 5, 1, -2, 0) + entry(name, 2, -1, 0, size)
    directory += b"\0" * (s - len(directory))
    return header + data + directory + fat_bytes + difat


def main():
    out, cells = sys.argv[1], int(sys.argv[2])
    sheets = int(sys.argv[3]) if len(sys.argv) > 3 else 4
    with open(out, "wb") as f:
        f.write(compound("Workbook", workbook(cells, sheets)))


if __name__ == "__main__":
    main()
