# Small documents (10-50 KB), one process per file as a shell loop or an
# indexer's filter calls an extractor: start-up dominates. LibreOffice writes
# a .doc, .docx, .xls and .xlsx of the same text; each meets the peer for its
# format, and a program that only starts Qt 5 Core shows the floor that any
# process linked to Qt pays.

generate() {
  dir="$1"
  if [ ! -s "$dir/cells.xlsx" ]; then
    python3 - "$dir" <<'PY'
import random, sys
dir = sys.argv[1]
random.seed(11)
words = ("the quick brown fox jumps over a lazy dog while seven wise owls count "
         "stars above quiet harbours and distant mountains").split()
sentence = lambda n: " ".join(random.choice(words) for _ in range(n)).capitalize() + "."
lines, total = [], 0
while total < 16000:
    lines.append(sentence(12))
    total += len(lines[-1]) + 1
open(f"{dir}/small.txt", "w").write("\n".join(lines) + "\n")
rows = [f"{i},{sentence(4)},{random.randint(1, 99999)},{random.random() * 1000:.2f}" for i in range(400)]
open(f"{dir}/cells.csv", "w").write("row,label,count,amount\n" + "\n".join(rows) + "\n")
PY
    for target in 'doc:MS Word 97' 'docx:MS Word 2007 XML'; do
      soffice --headless --infilter="Text (encoded):UTF8" --convert-to "$target" --outdir "$dir" "$dir/small.txt" >/dev/null 2>&1
    done
    for target in 'xls:MS Excel 97' 'xlsx:Calc MS Excel 2007 XML'; do
      soffice --headless --convert-to "$target" --outdir "$dir" "$dir/cells.csv" >/dev/null 2>&1
    done
  fi
  if [ ! -x "$dir/qt-floor" ]; then
    printf '#include <QString>\nint main() { return QString::fromUtf8("x").size() - 1; }\n' >"$dir/qt-floor.cpp"
    # shellcheck disable=SC2046
    c++ -O2 -fPIC "$dir/qt-floor.cpp" -o "$dir/qt-floor" $(pkg-config --cflags --libs Qt5Core)
  fi
  for name in small.doc small.docx cells.xls cells.xlsx; do
    echo "$dir/$name"
  done
}

peers() {
  printf 'qt-floor\t%s\n' "$WORK/small/qt-floor"
  case "$1" in
    *.doc)
      printf 'catdoc\tcatdoc -d utf-8 %s\n' "'$1'"
      printf 'antiword\tantiword -m UTF-8.txt %s\n' "'$1'" ;;
    *.docx) printf 'docx2txt\tdocx2txt %s -\n' "'$1'" ;;
    *.xls) printf 'xls2csv\txls2csv %s\n' "'$1'" ;;
    *.xlsx) printf 'xlsx2csv\txlsx2csv -a %s\n' "'$1'" ;;
  esac
}
