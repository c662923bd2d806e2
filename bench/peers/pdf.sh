# PDF: a 250-page text document and a picture-heavy one, both written by
# LibreOffice, against MuPDF's own tool and Poppler's pdftotext.

generate() {
  dir="$1"
  python3 - "$dir" <<'PY'
import base64, random, struct, sys, zlib
dir = sys.argv[1]
random.seed(7)
words = "lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor incididunt ut labore et dolore magna aliqua".split()
def paragraph(n):
    return " ".join(random.choice(words) for _ in range(n)).capitalize() + "."
pages = []
for p in range(250):
    body = "".join(f"<p>{paragraph(60)}</p>" for _ in range(4))
    pages.append(f'<h2 style="page-break-before: always">Section {p + 1}</h2>{body}')
open(f"{dir}/text-250.html", "w").write("<html><body>" + "".join(pages) + "</body></html>")

def png(w, h, seed):
    rnd = random.Random(seed)
    rows = b"".join(b"\x00" + bytes(rnd.randrange(256) if (x * y) % 7 else 128 for x in range(w * 3)) for y in range(h))
    chunk = lambda t, d: struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")
images = [base64.b64encode(png(320, 240, i)).decode() for i in range(8)]
pages = []
for p in range(40):
    pics = "".join(f'<img src="data:image/png;base64,{images[(p + i) % 8]}" width="200" height="150"> ' for i in range(4))
    pages.append(f'<h2 style="page-break-before: always">Plate {p + 1}</h2><p>{paragraph(30)}</p><p>{pics}</p>')
open(f"{dir}/pictures-40.html", "w").write("<html><body>" + "".join(pages) + "</body></html>")
PY
  for name in text-250 pictures-40; do
    [ -s "$dir/$name.pdf" ] || soffice --headless --convert-to pdf:writer_web_pdf_Export --outdir "$dir" "$dir/$name.html" >/dev/null 2>&1
    echo "$dir/$name.pdf"
  done
}

peers() {
  printf 'mutool\tmutool draw -q -F txt -o %s %s\n' "$WORK/pdf/mutool.txt" "$1"
  printf 'pdftotext\tpdftotext %s %s\n' "$1" "$WORK/pdf/pdftotext.txt"
}
