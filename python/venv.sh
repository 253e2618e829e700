#!/usr/bin/env bash
# Installs the vexafile package from python/ into a virtual environment WORK_DIR/venv, made on first
# use with the system's packages visible (numpy, pandas, pytest, pybind11, setuptools), so no network
# is needed; CMake's build folder WORK_DIR/cmake lasts from one install to the next.
#   venv.sh WORK_DIR
set -euo pipefail
work=$1
root=$(cd "$(dirname "$0")/.." && pwd)

[ -x "$work/venv/bin/python" ] || /usr/bin/python3 -m venv --system-site-packages "$work/venv"
cmake_args="-DSETUP_PYTHON_WERROR=ON"
if command -v ccache > /dev/null; then cmake_args+=" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
CMAKE_ARGS="$cmake_args" VEXAFILE_BUILD_DIR="$work/cmake" \
  "$work/venv/bin/python" -m pip install --quiet --disable-pip-version-check --no-build-isolation --no-deps \
  "$root/python"
