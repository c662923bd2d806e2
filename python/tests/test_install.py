"""quillet installed as people install it: `cmake --install` into a scratch prefix (and
with DESTDIR), then a C++ program built through pkg-config and through find_package, the
installed tool and the installed module. The Debian packages and the wheel are tried
when scripts/test.sh has made them (QUILLET_DEB_DIR, QUILLET_WHEEL)."""

import glob
import os
import pathlib
import shutil
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = os.environ.get("QUILLET_BUILD_DIR")
DATA = ROOT / "tests" / "data"
LETTERS = DATA / "letters" / "letters.docx"
CYRILLIC = "Съешь же ещё"
# PDF goes through the engine's plugin, which the library finds beside itself.
PDF = DATA / "pdf" / "latin-accented.pdf"
PDF_TEXT = "Quarterly report"

CONSUMER = r"""
#include <quillet/quillet.h>
#include <cstdio>
int main(int argc, char** argv)
{
    quilletInitialize();
    const unsigned code = export2Txt(argv[1], argv[2], 0, quillet::WriteText, 30);
    const char* format = getFileFormate(argv[1], 0);
    quilletDestory();
    std::printf("%u %s\n", code, format != nullptr ? format : "(none)");
    return code == quillet::Success ? 0 : 1;
}
"""
CMAKE_CONSUMER = """
cmake_minimum_required(VERSION 3.16)
project(consumer CXX)
find_package(quillet 0.1 REQUIRED)
add_executable(consumer main.cpp)
target_link_libraries(consumer PRIVATE quillet::quillet)
"""


def run(*args, env=None, cwd=None):
    completed = subprocess.run([str(arg) for arg in args], capture_output=True, text=True, env=env, cwd=cwd)
    assert completed.returncode == 0, f"{args}: {completed.stdout}{completed.stderr}"
    return completed.stdout


def check_consumers(prefix, work):
    """Builds and runs the C++ consumer both ways against the installed library."""
    (work / "main.cpp").write_text(CONSUMER)
    (work / "CMakeLists.txt").write_text(CMAKE_CONSUMER)
    pc_dirs = glob.glob(str(prefix / "lib" / "pkgconfig")) + glob.glob(str(prefix / "lib" / "*" / "pkgconfig"))
    env = dict(os.environ, PKG_CONFIG_PATH=os.pathsep.join(pc_dirs))
    flags = run("pkg-config", "--cflags", "--libs", "quillet", env=env).split()
    run("c++", "-std=c++17", work / "main.cpp", *flags, "-o", work / "by-pkg-config")
    assert run(work / "by-pkg-config", LETTERS, work / "out-pc") == "0 DOCX\n"
    run("cmake", "-S", work, "-B", work / "build", f"-DCMAKE_PREFIX_PATH={prefix}")
    run("cmake", "--build", work / "build")
    assert run(work / "build" / "consumer", LETTERS, work / "out-cmake") == "0 DOCX\n"
    assert run(work / "build" / "consumer", PDF, work / "out-pdf") == "0 PDF\n"
    assert (work / "out-pdf" / "1.txt").read_bytes().startswith(PDF_TEXT.encode())


def check_tool_and_module(prefix, tool=None):
    """The installed tool prints the text; the installed module reads it and finds the tool."""
    tool = tool or prefix / "bin" / "quillet"
    assert run(tool, "text", LETTERS).startswith(CYRILLIC)
    assert run(tool, "text", PDF).startswith(PDF_TEXT)
    package = next(pathlib.Path(path).parent.parent for path in
                   glob.glob(str(prefix / "lib" / "python3*" / "dist-packages" / "quillet" / "_quillet*.so")))
    env = dict(os.environ, PYTHONPATH=str(package), PYTHONDONTWRITEBYTECODE="1")
    script = ("import quillet, quillet.dask, sys; print(quillet.dask.find_command());"
              "print(quillet.text(sys.argv[2]).splitlines()[0]); print(quillet.text(sys.argv[1]))")
    found, pdf, text = run(sys.executable, "-c", script, LETTERS, PDF, env=env, cwd="/").split("\n", 2)
    assert pathlib.Path(found).resolve() == pathlib.Path(tool).resolve()
    assert pdf == PDF_TEXT
    assert text.startswith(CYRILLIC)


@pytest.mark.skipif(not BUILD, reason="QUILLET_BUILD_DIR names no build to install")
@pytest.mark.parametrize("how", ["prefix", "destdir"])
def test_an_install_works_wherever_it_is_put(tmp_path, how):
    if how == "prefix":
        prefix = tmp_path / "prefix"
        run("cmake", "--install", BUILD, "--prefix", prefix)
    else:
        run("cmake", "--install", BUILD, "--prefix", "/opt/quillet-staged",
            env=dict(os.environ, DESTDIR=str(tmp_path / "stage")))
        prefix = tmp_path / "stage" / "opt" / "quillet-staged"
    check_tool_and_module(prefix)
    check_consumers(prefix, tmp_path)


@pytest.mark.skipif(not BUILD, reason="QUILLET_BUILD_DIR names no build to install")
def test_an_install_without_its_pdf_plugin_converts_everything_else(tmp_path):
    prefix = tmp_path / "prefix"
    run("cmake", "--install", BUILD, "--prefix", prefix)
    plugins = glob.glob(str(prefix / "lib" / "**" / "libquillet-pdf.so"), recursive=True)
    assert len(plugins) == 1
    os.remove(plugins[0])
    tool = prefix / "bin" / "quillet"
    assert run(tool, "text", LETTERS).startswith(CYRILLIC)
    assert run(tool, "format", PDF) == "PDF\n"
    failed = subprocess.run([tool, "export", PDF, tmp_path / "out"], capture_output=True, text=True)
    assert (failed.returncode, failed.stdout.split()[0]) == (1, "4098")


@pytest.mark.skipif(not os.environ.get("QUILLET_DEB_DIR"), reason="QUILLET_DEB_DIR names no built packages")
def test_the_debian_packages_install_and_work(tmp_path):
    packages = sorted(glob.glob(os.path.join(os.environ["QUILLET_DEB_DIR"], "*.deb")))
    names = ["libquillet0", "libquillet-dev", "quillet", "python3-quillet"]
    assert [pathlib.Path(path).name.split("_")[0] for path in packages] == sorted(names)
    run("dpkg", "-i", *packages)
    try:
        check_tool_and_module(pathlib.Path("/usr"), tool="/usr/bin/quillet")
        check_consumers(pathlib.Path("/usr"), tmp_path)
    finally:
        run("dpkg", "--purge", *names)


@pytest.mark.skipif(not os.environ.get("QUILLET_WHEEL"), reason="QUILLET_WHEEL names no built wheel")
def test_the_wheel_works_in_a_fresh_virtual_environment(tmp_path):
    venv = tmp_path / "venv"
    run(sys.executable, "-m", "venv", venv)
    run(venv / "bin" / "pip", "install", "--quiet", "--no-index", os.environ["QUILLET_WHEEL"])
    # Dask is an optional extra, absent here: the tool is found where quillet.dask looks.
    script = ("import quillet, quillet._cli, subprocess, sys;"
              "assert quillet.text(sys.argv[1]).startswith(sys.argv[2]);"
              f"assert quillet.text({str(PDF)!r}).startswith({PDF_TEXT!r});"
              "tool = quillet._cli.COMMAND; assert tool.startswith(sys.prefix), tool;"
              "print(subprocess.run([tool, 'text', sys.argv[1]], capture_output=True, text=True).stdout)")
    clean = {name: value for name, value in os.environ.items() if name != "PYTHONPATH"}  # the venv's own package
    assert run(venv / "bin" / "python", "-c", script, LETTERS, CYRILLIC, env=clean, cwd="/").startswith(CYRILLIC)
    shutil.rmtree(venv)
