# Binary Word: a ~220-page document of about 900,000 characters, written as
# plain text and converted by LibreOffice; catdoc and antiword as peers.

generate() {
  dir="$1"
  if [ ! -s "$dir/long.doc" ]; then
    python3 - "$dir/long.txt" <<'PY'
import random, sys
random.seed(7)
words = ("the quick brown fox jumps over a lazy dog while seven wise owls count "
         "stars above quiet harbours and distant mountains of the northern coast "
         "résumé naïve café déjà vu").split()
out, total, n = [], 0, 0
while total < 900_000:
    n += 1
    sentences = " ".join(
        " ".join(random.choice(words) for _ in range(random.randint(6, 16))).capitalize() + "."
        for _ in range(random.randint(3, 8)))
    out.append(f"{n}. {sentences}")
    total += len(out[-1]) + 1
open(sys.argv[1], "w", encoding="utf-8").write("\n".join(out) + "\n")
PY
    soffice --headless --infilter="Text (encoded):UTF8" --convert-to doc:"MS Word 97" \
      --outdir "$dir" "$dir/long.txt" >/dev/null 2>&1
  fi
  echo "$dir/long.doc"
}

peers() {
  printf 'quillet-text\t%s text %s\n' "$QUILLET" "'$1'"
  printf 'catdoc\tcatdoc -d utf-8 %s\n' "'$1'"
  printf 'antiword\tantiword -m UTF-8.txt %s\n' "'$1'"
}
