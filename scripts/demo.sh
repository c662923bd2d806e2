#!/bin/sh
# Installs what is needed, builds quillet, converts a sample document with the
# command-line tool and prints its text.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_TESTS=OFF >/dev/null
cmake --build build
document="${1:-tests/data/word/english.doc}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
./build/tools/quillet export "$document" "$out"
ls "$out"
./build/tools/quillet text "$document"
