#!/bin/sh
# Builds the Debian packages libquillet0, libquillet-dev, quillet and
# python3-quillet (Release, installed under /usr) into dist/.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_TOOLS=ON -DQUILLET_BUILD_PYTHON=ON \
  -DPython3_EXECUTABLE=/usr/bin/python3 >/dev/null
cmake --build build-deb
(cd build-deb && cpack -G DEB >/dev/null)
mkdir -p dist
rm -f dist/*.deb
mv build-deb/*.deb dist/
ls dist/*.deb
