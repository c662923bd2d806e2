#!/bin/sh
# Installs what is needed, checks the formatting, builds with AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs every test. Any sanitizer report fails.
# The Python package, and the command-line tool its Dask module runs, are built
# and tested without sanitizers, since an instrumented extension cannot load
# into the system's Python; so are the install, Debian package and wheel tests.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# Every C++ source as .clang-format lays it out; the name list
# (src/package/xml/XmlNames.def) is no C++ file and stays as written.
find include src tools tests fuzz bench python/src -name '*.cpp' -o -name '*.h' | sort |
  xargs clang-format --dry-run --Werror
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_SANITIZE=ON -DQUILLET_BUILD_BENCH=ON -DQUILLET_WERROR=ON >/dev/null
cmake --build build-asan
(
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)" "$@"
)
python="${QUILLET_PYTHON:-/usr/bin/python3}"
cmake -S . -B build-py -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_TOOLS=ON -DQUILLET_WERROR=ON -DPython3_EXECUTABLE="$python" >/dev/null
cmake --build build-py --target quillet_python quillet_cli
# Installed as people install it: build-py into scratch prefixes, and, as root,
# the Debian packages into this machine (removed again); and the wheel in a
# fresh virtual environment.
./scripts/package.sh >/dev/null
rm -f dist/*.whl
"$python" -m build --wheel --no-isolation --outdir dist >/dev/null
export QUILLET_BUILD_DIR="$PWD/build-py" QUILLET_WHEEL="$(ls "$PWD"/dist/*.whl)"
if [ "$(id -u)" -eq 0 ]; then
  export QUILLET_DEB_DIR="$PWD/dist"
fi
PYTHONDONTWRITEBYTECODE=1 PYTHONPATH="$PWD/build-py/python" "$python" -m pytest -q -p no:cacheprovider python/tests
