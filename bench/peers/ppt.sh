# Sourced by bench/compare-peers.sh, catppt as the peer, on two presentations:
# - slides.ppt: 600 slides (a title, a text box of five paragraphs and a 3x4
#   table each, with notes), written as a flat ODF presentation and converted
#   by LibreOffice. catppt finds no text in LibreOffice's files, so its time
#   there is only that of reading the file;
# - records.ppt: 3,000 slides with the same kinds of text (placeholders in the
#   slide list, twelve text boxes, notes), laid out record by record as
#   PowerPoint writes them, which catppt reads.

generate() {
  dir="$1"
  if [ ! -s "$dir/slides.ppt" ]; then
    python3 - "$dir/slides.fodp" <<'PY'
import sys
words = ["revenue", "cost", "北京", "margin", "forecast", "région", "total", "quarter", "上海", "growth", "budget", "delta"]
def text(n, count): return " ".join(words[(n * 5 + w) % 12] for w in range(count))
def box(y, paras): return (f'<draw:frame svg:x="1cm" svg:y="{y}cm" svg:width="24cm" svg:height="3cm"><draw:text-box>'
                           + "".join(f"<text:p>{p}</text:p>" for p in paras) + "</draw:text-box></draw:frame>")
pages = []
for s in range(600):
    table = ('<draw:frame svg:x="1cm" svg:y="10cm" svg:width="20cm" svg:height="4cm"><table:table>'
             + "<table:table-column/>" * 3
             + "".join("<table:table-row>" + "".join(f"<table:table-cell><text:p>{text(s * 12 + r * 3 + c, 2)}</text:p></table:table-cell>" for c in range(3)) + "</table:table-row>" for r in range(4))
             + "</table:table></draw:frame>")
    notes = '<presentation:notes>' + box(14, [text(s, 30)]) + '</presentation:notes>'
    pages.append(f'<draw:page draw:name="p{s}" draw:master-page-name="Default">{box(1, [text(s, 4)])}{box(4, [text(s + p, 12) for p in range(5)])}{table}{notes}</draw:page>')
ns = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
      'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
      'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
      'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"')
open(sys.argv[1], "w", encoding="utf-8").write(
    f'<?xml version="1.0" encoding="UTF-8"?><office:document {ns} office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.presentation">'
    '<office:automatic-styles><style:page-layout style:name="PM1"><style:page-layout-properties fo:page-width="28cm" fo:page-height="15.75cm"/></style:page-layout></office:automatic-styles>'
    '<office:master-styles><style:master-page style:name="Default" style:page-layout-name="PM1"/></office:master-styles>'
    '<office:body><office:presentation>' + "".join(pages) + '</office:presentation></office:body></office:document>')
PY
    soffice -env:UserInstallation=file://"$dir"/lo --headless --convert-to ppt --outdir "$dir" "$dir/slides.fodp" >/dev/null 2>&1
  fi
  echo "$dir/slides.ppt"
  [ -s "$dir/records.ppt" ] || python3 - "$dir/records.ppt" <<'PY'
import struct, sys
words = ["revenue", "cost", "北京", "margin", "forecast", "région", "total", "quarter", "上海", "growth", "budget", "delta"]
def text(n, count): return " ".join(words[(n * 5 + w) % 12] for w in range(count))
def hdr(t, l, inst=0, ver=0): return struct.pack('<HHI', ver | (inst << 4), t, l)
def atom(t, body, inst=0): return hdr(t, len(body), inst) + body
def cont(t, kids, inst=0):
    b = b''.join(kids); return hdr(t, len(b), inst, 0xF) + b
def chars(s): return atom(4000, s.encode('utf-16le'))
def persist(i): return atom(1011, struct.pack('<I', i) + bytes(16))
N = 3000
slide_list, notes_list, pages = [], [], []
pid = 2
for s in range(N):
    slide_list += [persist(pid), atom(3999, struct.pack('<I', 0)), chars(text(s, 4)), atom(3999, struct.pack('<I', 1)), chars("\r".join(text(s + p, 12) for p in range(5)))]
    body = [cont(0xF003, [cont(0xF004, [atom(3998, struct.pack('<I', 0))]), cont(0xF004, [atom(3998, struct.pack('<I', 1))])])]
    body += [cont(0xF004, [cont(0xF00D, [atom(3999, struct.pack('<I', 4)), chars(text(s * 12 + c, 2))])]) for c in range(12)]
    pages.append((pid, cont(1006, body))); pid += 1
    notes_list.append(persist(pid))
    pages.append((pid, cont(1008, [cont(0xF00D, [atom(3999, struct.pack('<I', 2)), chars(text(s, 30))])]))); pid += 1
doc = cont(1000, [atom(1001, bytes(40)), cont(4080, slide_list, 0), cont(4080, notes_list, 2)])
stream = bytearray(doc); offs = {1: 0}
for i, rec in pages:
    offs[i] = len(stream); stream += rec
pd = len(stream); stream += atom(6002, b''.join(struct.pack('<II', i | (1 << 20), o) for i, o in sorted(offs.items())))
ue = len(stream); stream += atom(4085, struct.pack('<IHHIIIIHH', 0, 0, 0x300, 0, pd, 1, pid, 1, 0))
cu = atom(4086, struct.pack('<III', 20, 0xE391C05F, ue) + struct.pack('<HHHH', 4, 0x3F4, 3, 0) + b'user')
cu += bytes(4096 - len(cu))  # kept out of the mini stream
# A compound file of 512-byte sectors without a mini stream.
S = 512
streams = [("PowerPoint Document", bytes(stream)), ("Current User", cu)]
data, chains, next_sec = b'', [], 0
def pad(b): return b + bytes((-len(b)) % S)
body_secs = []
for name, b in streams:
    n = (len(b) + S - 1) // S; chains.append((next_sec, n)); next_sec += n; data += pad(b)
dir_sec = next_sec; next_sec += 1
total = next_sec
nfat = 1
while (total + nfat) > nfat * (S // 4): nfat += 1
fat_start = total
fat = [0xFFFFFFFF] * (nfat * S // 4)
for start, n in chains:
    for k in range(n): fat[start + k] = start + k + 1 if k < n - 1 else 0xFFFFFFFE
fat[dir_sec] = 0xFFFFFFFE
for k in range(nfat): fat[fat_start + k] = 0xFFFFFFFD
assert nfat <= 109
def entry(name, typ, child, left, right, start, size):
    n = name.encode('utf-16le') + b'\0\0'
    return n + bytes(64 - len(n)) + struct.pack('<HBBiii', len(n), typ, 1, left, right, child) + bytes(16) + bytes(4) + bytes(16) + struct.pack('<iII', start, size, 0)
d = entry("Root Entry", 5, 1, -1, -1, -2, 0) + entry(streams[0][0], 2, -1, -1, 2, chains[0][0], len(streams[0][1])) + entry(streams[1][0], 2, -1, -1, -1, chains[1][0], len(streams[1][1])) + bytes(128)
difat = [fat_start + k for k in range(nfat)] + [0xFFFFFFFF] * (109 - nfat)
header = b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' + bytes(16) + struct.pack('<HHHHH', 0x3E, 3, 0xFFFE, 9, 6) + bytes(6) + struct.pack('<IIIIIIIII', 0, nfat, dir_sec, 0, 4096, 0xFFFFFFFE, 0, 0xFFFFFFFE, 0) + struct.pack('<109I', *difat)
out = header + data + d + struct.pack('<%dI' % len(fat), *fat)
open(sys.argv[1], 'wb').write(out)
PY
  echo "$dir/records.ppt"
}

peers() {
  printf 'quillet-extras\t%s export %s %s --extras\n' "$QUILLET" "'$1'" "'$WORK/ppt/out-extras'"
  printf 'catppt\tcatppt -d utf-8 %s\n' "'$1'"
}
