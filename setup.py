"""Builds the wheel's native half with CMake: libquillet, the _quillet extension and the
quillet command-line tool (which quillet.dask runs), laid out inside the package with
run paths relative to it. See pyproject.toml."""

import os
import re
import shutil
import subprocess
import sys

from setuptools import setup
from setuptools.command.build_py import build_py
from setuptools.dist import Distribution

ROOT = os.path.dirname(os.path.abspath(__file__))
BUILD = os.path.join(ROOT, "build-wheel")
os.makedirs(BUILD, exist_ok=True)  # setuptools wants its egg-info folder to exist


def version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as cmake:
        return re.search(r"project\(quillet VERSION ([0-9.]+)", cmake.read()).group(1)


class BuildWithCMake(build_py):
    def run(self):
        super().run()
        cmake = os.path.join(BUILD, "cmake")
        stage = os.path.join(BUILD, "stage")
        subprocess.check_call([
            "cmake", "-S", ROOT, "-B", cmake, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
            "-DQUILLET_BUILD_TESTS=OFF", "-DQUILLET_BUILD_TOOLS=ON", "-DQUILLET_BUILD_PYTHON=ON",
            f"-DPython3_EXECUTABLE={sys.executable}",
            # Everything in the package folder: the library beside the extension, the tool below.
            "-DQUILLET_PYTHON_INSTALL_DIR=.", "-DCMAKE_INSTALL_LIBDIR=quillet", "-DCMAKE_INSTALL_BINDIR=quillet/bin"])
        subprocess.check_call(["cmake", "--build", cmake, "--target", "quillet_python", "quillet_cli"])
        shutil.rmtree(stage, ignore_errors=True)
        for component in ("runtime", "tool", "python"):
            subprocess.check_call(["cmake", "--install", cmake, "--prefix", stage, "--component", component])
        package = os.path.join(stage, "quillet")
        # A wheel keeps no symbolic links: the library goes in once, under its soname.
        for name in os.listdir(package):
            path = os.path.join(package, name)
            if name.startswith("libquillet.so") and os.path.islink(path):
                real = os.path.realpath(path)
                os.remove(path)
                os.replace(real, path)
        shutil.copytree(package, os.path.join(self.build_lib, "quillet"), dirs_exist_ok=True)


class BinaryDistribution(Distribution):
    def has_ext_modules(self):
        return True  # a wheel for this platform and interpreter, not a pure one


setup(
    version=version(),
    packages=["quillet"],
    package_dir={"": "python"},
    package_data={"quillet": ["py.typed"]},
    cmdclass={"build_py": BuildWithCMake},
    distclass=BinaryDistribution,
    options={"build": {"build_base": os.path.join(BUILD, "setuptools")},
             "egg_info": {"egg_base": BUILD}},
)
