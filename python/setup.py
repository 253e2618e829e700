"""Builds the vexafile extension with CMake from the repository's top level (SETUP_PYTHON), so the
module is compiled from the same portable core as vexaconv, without the native build's sanitizers.

Environment: VEXAFILE_BUILD_DIR puts CMake's build folder elsewhere (make test keeps it under build/,
where it lasts from one install to the next); CMAKE_ARGS adds arguments to the configure step (a
compiler launcher such as ccache, -DSETUP_PYTHON_WERROR=ON); CMAKE_BUILD_PARALLEL_LEVEL sets the jobs.
"""

import os
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        import pybind11

        out = os.path.dirname(os.path.abspath(self.get_ext_fullpath(ext.name)))
        build = os.environ.get("VEXAFILE_BUILD_DIR") or os.path.join(os.path.abspath(self.build_temp), "cmake")
        configure = ["cmake", "-S", ROOT, "-B", build, "-DSETUP_PYTHON=ON", "-DCMAKE_BUILD_TYPE=Release",
                     "-DPython_EXECUTABLE=" + sys.executable, "-Dpybind11_DIR=" + pybind11.get_cmake_dir(),
                     "-DCMAKE_LIBRARY_OUTPUT_DIRECTORY=" + out, "-DCMAKE_LIBRARY_OUTPUT_DIRECTORY_RELEASE=" + out]
        subprocess.run(configure + os.environ.get("CMAKE_ARGS", "").split(), check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL") or str(os.cpu_count() or 1)
        subprocess.run(["cmake", "--build", build, "--config", "Release", "--target", "_vexafile", "-j", jobs],
                       check=True)


setup(ext_modules=[CMakeExtension("vexafile._vexafile")], cmdclass={"build_ext": CMakeBuild})
