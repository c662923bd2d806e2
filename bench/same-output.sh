#!/bin/sh
# Converts every file under the given folders with two builds of the tool and
# reports any difference in result code or in the files written, byte for
# byte: for changes that must not change output.
#
#   bench/same-output.sh BEFORE AFTER FOLDER... [-- EXPORT-OPTION...]
#
# BEFORE and AFTER are `quillet` programs; each file is exported with the
# options given (default: --flags 0x111) and, separately, read with `text`.
set -eu
[ $# -ge 3 ] || { echo "usage: $0 BEFORE AFTER FOLDER... [-- OPTION...]" >&2; exit 2; }
before="$1"
after="$2"
shift 2
folders=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  folders="$folders $1"
  shift
done
[ "${1:-}" = "--" ] && shift
[ $# -gt 0 ] || set -- --flags 0x111
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
files=0
differ=0
# shellcheck disable=SC2086
find $folders -type f | sort >"$work/list"
while IFS= read -r file; do
  files=$((files + 1))
  for side in before after; do
    eval "tool=\$$side"
    rm -rf "${work:?}/$side"
    "$tool" export "$file" "$work/$side" "$@" >"$work/$side.code" 2>/dev/null || true
    "$tool" text "$file" >"$work/$side.text" 2>/dev/null || true
  done
  mkdir -p "$work/before" "$work/after"
  if ! cmp -s "$work/before.code" "$work/after.code" || ! cmp -s "$work/before.text" "$work/after.text" ||
    ! diff -r "$work/before" "$work/after" >/dev/null 2>&1; then
    differ=$((differ + 1))
    echo "differs: $file ($(cat "$work/before.code") / $(cat "$work/after.code"))"
  fi
done <"$work/list"
echo "$files files, $differ differ"
[ "$differ" -eq 0 ]
