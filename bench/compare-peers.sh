#!/bin/sh
# Runs `quillet export` beside the Debian peer tools on the same generated
# large files, one hyperfine run per file, and prints peer/quillet time ratios.
#
#   bench/compare-peers.sh [FORMAT...]      (default: every bench/peers/*.sh)
#
# Each bench/peers/FORMAT.sh is sourced and defines two functions:
#   generate DIR   writes its large file(s) into DIR, one path per line on stdout
#   peers FILE     prints "name<TAB>command" lines for the peer tools on FILE
#                  (and for other quillet commands worth timing beside them)
# and may set export_options, the options of its `quillet export` (pictures).
# QUILLET (the command-line tool) and WORK (a scratch folder) are set for them.
# Commands run without a shell (hyperfine -N), so no process start is
# measured but the tools' own; a WORK kept from an earlier run is reused.
# QUILLET_BEFORE names a second build of the tool, timed in the same run as
# "quillet-before" for a before/after comparison.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
if [ -z "${QUILLET:-}" ]; then
  # Always brought up to date: a stale tool would be measured otherwise.
  QUILLET="$root/build-release/tools/quillet"
  if [ ! -f "$root/build-release/build.ninja" ]; then
    cmake -S "$root" -B "$root/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_TESTS=OFF >/dev/null
  fi
  cmake --build "$root/build-release" --target quillet_cli >/dev/null
fi
case "$QUILLET" in /*) ;; *) QUILLET="$(pwd)/$QUILLET" ;; esac
WORK="${WORK:-$(mktemp -d)}"
mkdir -p "$WORK"
WORK="$(cd "$WORK" && pwd)"
export QUILLET WORK
formats="$*"
if [ -z "$formats" ]; then
  formats="$(for f in "$here"/peers/*.sh; do basename "$f" .sh; done)"
fi

for format in $formats; do
  (
    . "$here/peers/$format.sh"
    mkdir -p "$WORK/$format"
    generate "$WORK/$format" | while read -r file; do
      echo "== $format: $(basename "$file") ($(du -h "$file" | cut -f1))"
      set -- -N --warmup 3 --min-runs 20 --export-json "$WORK/$format/result.json" \
        -n quillet "$QUILLET export ${export_options:-} '$file' '$WORK/$format/out'"
      if [ -n "${QUILLET_BEFORE:-}" ]; then
        set -- "$@" -n quillet-before "$QUILLET_BEFORE export ${export_options:-} '$file' '$WORK/$format/out-before'"
      fi
      tab="$(printf '\t')"
      while IFS="$tab" read -r name command; do
        set -- "$@" -n "$name" "$command"
      done <<PEERS
$(peers "$file")
PEERS
      # Peers that write files of their own (unrtf its pictures) write them here.
      cd "$WORK/$format"
      hyperfine "$@" >/dev/null 2>&1 || hyperfine "$@"
      python3 - "$WORK/$format/result.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
ours = next(r for r in results if r["command"] == "quillet")
# CPU time (user + system) beside the wall time: on a busy machine the
# wall time mostly measures the wait for a core.
cpu = lambda r: r["user"] + r["system"]
print(f"  {'command':<14} {'mean ms':>9} {'peer/quillet':>13} {'cpu ms':>8} {'cpu peer/quillet':>17}")
for r in results:
    print(f"  {r['command']:<14} {r['mean'] * 1000:9.1f} {r['mean'] / ours['mean']:13.2f}"
          f" {cpu(r) * 1000:8.1f} {cpu(r) / cpu(ours):17.2f}")
PY
    done
  )
done
