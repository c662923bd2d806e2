#!/bin/sh
# Installs the Debian 12 packages that quillet's build, tests, benchmarks and
# fuzzers need. Idempotent: packages already present are skipped.
set -eu

PACKAGES="
  build-essential cmake ninja-build pkg-config
  qtbase5-dev zlib1g-dev libminizip-dev
  libmupdf-dev libmujs-dev libgumbo-dev libopenjp2-7-dev libjbig2dec0-dev
  libjpeg62-turbo-dev libfreetype-dev libpng-dev libbrotli-dev libturbojpeg0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  binutils
  python3-dev pybind11-dev python3-pybind11 python3-pytest
  python3-build python3-venv python3-setuptools python3-wheel dpkg-dev
  python3-dask python3-distributed python3-pandas python3-jsonschema
"

missing=""
for package in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done

if [ -z "$missing" ]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "install-deps: installing$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
