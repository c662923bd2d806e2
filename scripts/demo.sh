#!/bin/sh
# Installs what is needed, builds quillet and prints the text of a sample
# document with the command-line tool.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_TESTS=OFF >/dev/null
cmake --build build
./build/tools/quillet text "${1:-tests/data/sample.txt}"
