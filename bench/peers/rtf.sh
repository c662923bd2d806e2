# RTF: a 50 MB text-heavy file (code page and \u escapes, tables, fields) and
# a 32 MB file with 1000 pictures, as bench/RtfDocumentBenchmark.cpp makes them.
# Peers: catdoc and unrtf --text. Sourced by bench/compare-peers.sh. unrtf needs
# minutes per run on the 50 MB file, so the whole comparison takes about an hour.

generate() {
  python3 - "$1" <<'PY'
import sys
folder = sys.argv[1]
header = (r"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fnil\fcharset134 SimSun;}}" "\r\n"
          r"{\colortbl ;\red255\green0\blue0;}{\*\generator bench;}\viewkind4\uc1\pard\f0\fs20" "\r\n")

def text(n):
    return ("{\\b Heading %d}\\par Lorem ipsum dolor sit amet, caf\\'e9 na\\'efve \\u8364? costs; \\u20320?\\u22909? "
            "consectetur adipiscing\\tab elit, \\ldblquote sed do\\rdblquote  eiusmod {\\i tempor} incididunt ut labore\r\n"
            "et dolore magna aliqua.{\\field{\\*\\fldinst HYPERLINK \"https://example.org/\"}{\\fldrslt link}}\\par\r\n"
            "\\trowd\\cellx2000\\cellx4000\\pard\\intbl alpha\\cell beta\\cell\\row\\pard\r\n" % n)

data = bytes((i * 31 + 7) & 0xFF for i in range(16384)).hex()
hexed = "".join(data[i:i + 128] + "\r\n" for i in range(0, len(data), 128))

def picture(n):
    return ("Picture %d:{\\*\\shppict{\\pict\\picw64\\pich64\\pngblip\r\n%s}}"
            "{\\nonshppict{\\pict\\wmetafile8\\picw64\\pich64 0100090000}}\\par\r\n" % (n, hexed))

for name, make, limit, count in (("text.rtf", text, 50 << 20, 1 << 40), ("pictures.rtf", picture, 0, 1000)):
    path = folder + "/" + name
    with open(path, "w", newline="") as out:
        out.write(header)
        written, n = len(header), 0
        while n < count and (limit == 0 or written < limit):
            one = make(n)
            out.write(one)
            written += len(one)
            n += 1
        out.write("}\r\n")
    print(path)
PY
}

peers() {
  # hyperfine -N runs no shell, so no redirection: it discards the output.
  printf 'catdoc\tcatdoc %s\n' "'$1'"
  printf 'unrtf\tunrtf --text %s\n' "'$1'"
}
