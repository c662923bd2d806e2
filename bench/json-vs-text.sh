#!/bin/sh
# `quillet text` beside `quillet text --json` on the large generated files of
# the peer benchmarks (bench/peers/*.sh), one hyperfine run per file, with
# the CPU time of --json over text. QUILLET_BEFORE names a second build, whose
# `text` is timed in the same run as text-before.
#
#   bench/json-vs-text.sh [FORMAT...]      (default: doc docx pdf ppt pptx rtf xls xlsx)
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
QUILLET="${QUILLET:-$root/build-release/tools/quillet}"
WORK="${WORK:-$(mktemp -d)}"
mkdir -p "$WORK"
WORK="$(cd "$WORK" && pwd)"
export QUILLET WORK
formats="${*:-doc docx pdf ppt pptx rtf xls xlsx}"
for format in $formats; do
  (
    . "$here/peers/$format.sh"
    mkdir -p "$WORK/$format"
    generate "$WORK/$format" | while read -r file; do
      echo "== $format: $(basename "$file") ($(du -h "$file" | cut -f1))"
      set -- -N --warmup 3 --min-runs 20 --export-json "$WORK/$format/json-vs-text.json" \
        -n text "$QUILLET text '$file'" -n json "$QUILLET text --json '$file'"
      if [ -n "${QUILLET_BEFORE:-}" ]; then
        set -- "$@" -n text-before "$QUILLET_BEFORE text '$file'"
      fi
      hyperfine "$@" >/dev/null 2>&1 || hyperfine "$@"
      python3 - "$WORK/$format/json-vs-text.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
text = next(r for r in results if r["command"] == "text")
cpu = lambda r: r["user"] + r["system"]
print(f"  {'command':<12} {'mean ms':>9} {'wall / text':>8} {'cpu ms':>8} {'cpu / text':>11}")
for r in results:
    print(f"  {r['command']:<12} {r['mean'] * 1000:9.1f} {r['mean'] / text['mean']:8.3f} {cpu(r) * 1000:8.1f} {cpu(r) / cpu(text):11.3f}")
PY
    done
  )
done
