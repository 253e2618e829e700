#!/usr/bin/env bash
# The ctest entry python/vexafile: installs the vexafile package into a virtual environment under the
# build folder (venv.sh) and runs its pytest suite against the build's datagen and vexaconv.
#   run-tests.sh TOOLS_DIR WORK_DIR
# pytest's exit status is the result: a run that collects no test (status 5) fails like a failed one.
set -euo pipefail
tools=$1
work=$2
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/python/venv.sh" "$work"
cd "$work"
VEXAFILE_TOOLS="$tools" exec "$work/venv/bin/python" -m pytest -p no:cacheprovider "$root/python/tests"
